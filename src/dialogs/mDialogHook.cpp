#include "dialogs/mDialogHook.h"

#include "dialogs/GCommonDialog.h"

namespace mDialogHook {
namespace {
GCommonDialog* g_target = nullptr;

UINT_PTR Relay(HWND hDlg, UINT msg, WPARAM wParam, LPARAM lParam) {
    GCommonDialog* target = GetHookTarget();
    return target ? static_cast<UINT_PTR>(target->DialogHook(hDlg, msg, wParam, lParam)) : 0;
}
}  // namespace

void SetHookTarget(GCommonDialog* target) { g_target = target; }
GCommonDialog* GetHookTarget() { return g_target; }
void ClearHookTarget() { g_target = nullptr; }

UINT_PTR CALLBACK FileDlgHookProc(HWND h, UINT m, WPARAM w, LPARAM l) { return Relay(h, m, w, l); }
UINT_PTR CALLBACK PrintDlgHookProc(HWND h, UINT m, WPARAM w, LPARAM l) { return Relay(h, m, w, l); }
UINT_PTR CALLBACK PrintSetupHookProc(HWND h, UINT m, WPARAM w, LPARAM l) { return Relay(h, m, w, l); }
UINT_PTR CALLBACK PageSetupHookProc(HWND h, UINT m, WPARAM w, LPARAM l) { return Relay(h, m, w, l); }
UINT_PTR CALLBACK ColorDlgHookProc(HWND h, UINT m, WPARAM w, LPARAM l) { return Relay(h, m, w, l); }
UINT_PTR CALLBACK FontDlgHookProc(HWND h, UINT m, WPARAM w, LPARAM l) { return Relay(h, m, w, l); }

}  // namespace mDialogHook
