#pragma once
// The one hook-target slot of the program: the GCommonDialog whose hooked
// dialog is running. It is set just before a hooked system dialog call and
// emptied right after it, so it is empty whenever no hooked dialog is up.
// Dialogs are modal and run one at a time on the window thread.
#include <windows.h>

class GCommonDialog;

namespace mDialogHook {

// Stores `target` in the slot; the slot does not own it.
void SetHookTarget(GCommonDialog* target);
// The object in the slot, nullptr when it is empty.
GCommonDialog* GetHookTarget();
void ClearHookTarget();

// The hook procedures the system calls for the open and save, print, print
// set-up, page-setup, colour and font dialogs: each answers what the slot
// object's DialogHook answers, 0 when the slot is empty.
UINT_PTR CALLBACK FileDlgHookProc(HWND hDlg, UINT msg, WPARAM wParam, LPARAM lParam);
UINT_PTR CALLBACK PrintDlgHookProc(HWND hDlg, UINT msg, WPARAM wParam, LPARAM lParam);
UINT_PTR CALLBACK PrintSetupHookProc(HWND hDlg, UINT msg, WPARAM wParam, LPARAM lParam);
UINT_PTR CALLBACK PageSetupHookProc(HWND hDlg, UINT msg, WPARAM wParam, LPARAM lParam);
UINT_PTR CALLBACK ColorDlgHookProc(HWND hDlg, UINT msg, WPARAM wParam, LPARAM lParam);
UINT_PTR CALLBACK FontDlgHookProc(HWND hDlg, UINT msg, WPARAM wParam, LPARAM lParam);

}  // namespace mDialogHook
