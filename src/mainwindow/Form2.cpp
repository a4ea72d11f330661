#include "mainwindow/Form2.h"

#include "platform/App.h"

namespace {
enum : int { IdLabel1 = 101, IdListView1 = 102 };
}

Form2::~Form2() { Unload(); }

bool Form2::Load() {
    if (Exists()) return true;
    if (!CreateForm(L"Quorix.Form2", App::Title(), WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 0, nullptr, CW_USEDEFAULT,
                    CW_USEDEFAULT, 640, 480))
        return false;
    Label1.Create(hwnd_, IdLabel1, L"", false);
    ListView1.Create(hwnd_, IdListView1);
    const wchar_t* headers[] = {L"作用", L"命令", L"危险", L"键名", L"键值"};
    for (const wchar_t* h : headers) ListView1.AddColumn(h, 100);
    return true;
}

LRESULT Form2::WndProc(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_SIZE:
        ListView1.Move(0, 0, LOWORD(lp), HIWORD(lp));
        return 0;
    case WM_CLOSE:
        Unload();
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        return Form::WndProc(msg, wp, lp);
    }
}

namespace Forms {
::Form2& Form2() {
    static ::Form2 form;
    form.Load();
    return form;
}
}  // namespace Forms
