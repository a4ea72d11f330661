#pragma once
// The category window: category tree above, list of tip data files below.
#include "platform/TreeView.h"
#include "platform/Window.h"

class frmShadow : public Form {
public:
    ~frmShadow() override;
    bool Load();

    TreeView TreeView1;  // the category tree

    // Full path of the selected category-tree node (empty when none).
    std::wstring SelectedCategoryPath() const;
};

namespace Forms {
::frmShadow& frmShadow();
}  // namespace Forms
