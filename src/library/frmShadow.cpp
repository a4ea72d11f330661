#include "library/frmShadow.h"

#include "mainwindow/Form2.h"

namespace {
enum : int { IdTreeView1 = 201 };
}

frmShadow::~frmShadow() { Unload(); }

bool frmShadow::Load() {
    if (Exists()) return true;
    if (!CreateForm(L"Quorix.frmShadow", L"技巧类别", WS_OVERLAPPED | WS_CAPTION | WS_THICKFRAME | WS_CLIPCHILDREN,
                    WS_EX_TOOLWINDOW, nullptr, 0, 0, 200, 400))
        return false;
    TreeView1.Create(hwnd_, IdTreeView1);
    return true;
}

std::wstring frmShadow::SelectedCategoryPath() const { return TreeView1.FullPath(TreeView1.SelectedItem()); }

namespace Forms {
::frmShadow& frmShadow() {
    static ::frmShadow form;
    form.Load();
    return form;
}
}  // namespace Forms
