#include "platform/ProgressBar.h"

#include <commctrl.h>

bool ProgressBar::Create(HWND parent, int id) { return CreateChild(parent, PROGRESS_CLASSW, PBS_SMOOTH, 0, id); }
void ProgressBar::SetRange(int min, int max) { SendMessageW(hwnd_, PBM_SETRANGE32, min, max); }
int ProgressBar::Max() const { return static_cast<int>(SendMessageW(hwnd_, PBM_GETRANGE, FALSE, 0)); }
int ProgressBar::Value() const { return static_cast<int>(SendMessageW(hwnd_, PBM_GETPOS, 0, 0)); }
void ProgressBar::SetValue(int v) { SendMessageW(hwnd_, PBM_SETPOS, v, 0); }
