#include "platform/TreeView.h"

#include <algorithm>

TreeView::~TreeView() {
    if (hwnd_) Clear();
}

bool TreeView::Create(HWND parent, int id, DWORD extraStyle) {
    nodes_.clear();  // a tree made again starts with no nodes
    return CreateChild(parent, WC_TREEVIEWW,
                       WS_VISIBLE | WS_TABSTOP | TVS_HASLINES | TVS_LINESATROOT | TVS_HASBUTTONS |
                           TVS_SHOWSELALWAYS | extraStyle,
                       WS_EX_CLIENTEDGE, id);
}

HTREEITEM TreeView::Handle(int node) const {
    return node >= 1 && node <= Count() ? nodes_[static_cast<size_t>(node - 1)] : nullptr;
}

int TreeView::IndexOf(HTREEITEM h) const {
    if (!h) return 0;
    auto it = std::find(nodes_.begin(), nodes_.end(), h);
    return it == nodes_.end() ? 0 : static_cast<int>(it - nodes_.begin()) + 1;
}

TreeView::NodeData* TreeView::Data(int node) const {
    HTREEITEM h = Handle(node);
    if (!h) return nullptr;
    TVITEMW it{};
    it.mask = TVIF_PARAM;
    it.hItem = h;
    if (!SendMessageW(hwnd_, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&it))) return nullptr;
    return reinterpret_cast<NodeData*>(it.lParam);
}

int TreeView::Add(int parent, const std::wstring& text, const std::wstring& key, int image, int selectedImage) {
    return Insert(parent, TVI_LAST, text, key, image, selectedImage);
}

int TreeView::AddSorted(int parent, const std::wstring& text, const std::wstring& key, int image, int selectedImage) {
    return Insert(parent, TVI_SORT, text, key, image, selectedImage);
}

int TreeView::Insert(int parent, HTREEITEM after, const std::wstring& text, const std::wstring& key, int image,
                     int selectedImage) {
    TVINSERTSTRUCTW ins{};
    ins.hParent = parent ? Handle(parent) : TVI_ROOT;
    if (parent && !ins.hParent) return 0;
    ins.hInsertAfter = after;
    ins.item.mask = TVIF_TEXT | TVIF_PARAM | TVIF_IMAGE | TVIF_SELECTEDIMAGE;
    ins.item.pszText = const_cast<wchar_t*>(text.c_str());
    ins.item.iImage = image > 0 ? image - 1 : 0;
    ins.item.iSelectedImage = selectedImage > 0 ? selectedImage - 1 : ins.item.iImage;
    auto* d = new NodeData{key, {}};
    ins.item.lParam = reinterpret_cast<LPARAM>(d);
    auto h = reinterpret_cast<HTREEITEM>(SendMessageW(hwnd_, TVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&ins)));
    if (!h) {
        delete d;
        return 0;
    }
    nodes_.push_back(h);
    return Count();
}

void TreeView::Forget(HTREEITEM h) {
    auto it = std::find(nodes_.begin(), nodes_.end(), h);
    if (it != nodes_.end()) nodes_.erase(it);
}

void TreeView::Remove(int node) {
    HTREEITEM h = Handle(node);
    if (h) SendMessageW(hwnd_, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(h));
}

void TreeView::Clear() {
    if (hwnd_) SendMessageW(hwnd_, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(TVI_ROOT));
    nodes_.clear();
}

std::wstring TreeView::Text(int node) const {
    HTREEITEM h = Handle(node);
    if (!h) return {};
    std::wstring buf(1024, L'\0');
    TVITEMW it{};
    it.mask = TVIF_TEXT;
    it.hItem = h;
    it.pszText = buf.data();
    it.cchTextMax = static_cast<int>(buf.size());
    SendMessageW(hwnd_, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&it));
    buf.resize(wcslen(buf.c_str()));
    return buf;
}

void TreeView::SetText(int node, const std::wstring& s) {
    HTREEITEM h = Handle(node);
    if (!h) return;
    TVITEMW it{};
    it.mask = TVIF_TEXT;
    it.hItem = h;
    it.pszText = const_cast<wchar_t*>(s.c_str());
    SendMessageW(hwnd_, TVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&it));
}

void TreeView::SetImage(int node, int image, int selectedImage) {
    HTREEITEM h = Handle(node);
    if (!h) return;
    TVITEMW it{};
    it.mask = TVIF_IMAGE | TVIF_SELECTEDIMAGE;
    it.hItem = h;
    it.iImage = image > 0 ? image - 1 : 0;
    it.iSelectedImage = selectedImage > 0 ? selectedImage - 1 : it.iImage;
    SendMessageW(hwnd_, TVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&it));
}

bool TreeView::Bold(int node) const {
    HTREEITEM h = Handle(node);
    return h && (SendMessageW(hwnd_, TVM_GETITEMSTATE, reinterpret_cast<WPARAM>(h), TVIS_BOLD) & TVIS_BOLD);
}

void TreeView::SetBold(int node, bool on) {
    HTREEITEM h = Handle(node);
    if (!h) return;
    TVITEMW it{};
    it.mask = TVIF_STATE;
    it.hItem = h;
    it.stateMask = TVIS_BOLD;
    it.state = on ? TVIS_BOLD : 0;
    SendMessageW(hwnd_, TVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&it));
}

std::wstring TreeView::Key(int node) const {
    NodeData* d = Data(node);
    return d ? d->key : std::wstring();
}
std::wstring TreeView::NodeTag(int node) const {
    NodeData* d = Data(node);
    return d ? d->tag : std::wstring();
}
void TreeView::SetNodeTag(int node, const std::wstring& s) {
    if (NodeData* d = Data(node)) d->tag = s;
}

int TreeView::Parent(int node) const {
    HTREEITEM h = Handle(node);
    if (!h) return 0;
    return IndexOf(reinterpret_cast<HTREEITEM>(SendMessageW(hwnd_, TVM_GETNEXTITEM, TVGN_PARENT, reinterpret_cast<LPARAM>(h))));
}
int TreeView::FirstChild(int node) const {
    HTREEITEM h = Handle(node);
    if (!h) return 0;
    return IndexOf(reinterpret_cast<HTREEITEM>(SendMessageW(hwnd_, TVM_GETNEXTITEM, TVGN_CHILD, reinterpret_cast<LPARAM>(h))));
}
int TreeView::NextSibling(int node) const {
    HTREEITEM h = Handle(node);
    if (!h) return 0;
    return IndexOf(reinterpret_cast<HTREEITEM>(SendMessageW(hwnd_, TVM_GETNEXTITEM, TVGN_NEXT, reinterpret_cast<LPARAM>(h))));
}
int TreeView::Children(int node) const {
    int n = 0;
    for (int c = FirstChild(node); c; c = NextSibling(c)) ++n;
    return n;
}
int TreeView::Root(int node) const {
    while (int p = Parent(node)) node = p;
    return node;
}
std::wstring TreeView::FullPath(int node) const {
    if (!Handle(node)) return {};
    std::wstring path = Text(node);
    for (int p = Parent(node); p; p = Parent(p)) path = Text(p) + L"\\" + path;
    return path;
}
void TreeView::SetExpanded(int node, bool on) {
    if (HTREEITEM h = Handle(node))
        SendMessageW(hwnd_, TVM_EXPAND, on ? TVE_EXPAND : TVE_COLLAPSE, reinterpret_cast<LPARAM>(h));
}
bool TreeView::Expanded(int node) const {
    HTREEITEM h = Handle(node);
    return h && (SendMessageW(hwnd_, TVM_GETITEMSTATE, reinterpret_cast<WPARAM>(h), TVIS_EXPANDED) & TVIS_EXPANDED);
}

int TreeView::SelectedItem() const {
    if (!hwnd_) return 0;
    return IndexOf(reinterpret_cast<HTREEITEM>(SendMessageW(hwnd_, TVM_GETNEXTITEM, TVGN_CARET, 0)));
}
void TreeView::Select(int node) {
    if (HTREEITEM h = Handle(node)) SendMessageW(hwnd_, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(h));
}
int TreeView::HitTest(POINT pt) const {
    TVHITTESTINFO hi{};
    hi.pt = pt;
    return IndexOf(reinterpret_cast<HTREEITEM>(SendMessageW(hwnd_, TVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hi))));
}
void TreeView::SetImageList(HIMAGELIST list) {
    SendMessageW(hwnd_, TVM_SETIMAGELIST, TVSIL_NORMAL, reinterpret_cast<LPARAM>(list));
}

bool TreeView::OnNotify(NMHDR* nm, LRESULT& result) {
    switch (nm->code) {
    case TVN_DELETEITEMW: {
        auto* tv = reinterpret_cast<NMTREEVIEWW*>(nm);
        delete reinterpret_cast<NodeData*>(tv->itemOld.lParam);
        Forget(tv->itemOld.hItem);
        result = 0;
        return true;
    }
    case TVN_SELCHANGEDW: {
        auto* tv = reinterpret_cast<NMTREEVIEWW*>(nm);
        if (NodeClick && tv->action != TVC_UNKNOWN) NodeClick(IndexOf(tv->itemNew.hItem));
        return false;
    }
    case NM_CLICK: {
        // A click on the node already selected changes no selection: raise it here.
        POINT pt;
        GetCursorPos(&pt);
        ScreenToClient(hwnd_, &pt);
        TVHITTESTINFO hi{};
        hi.pt = pt;
        SendMessageW(hwnd_, TVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hi));
        int node = IndexOf(hi.hItem);
        if (NodeClick && node && (hi.flags & TVHT_ONITEM) && node == SelectedItem()) NodeClick(node);
        return false;
    }
    case NM_RCLICK: {
        if (RightClick) {
            POINT pt;
            GetCursorPos(&pt);
            ScreenToClient(hwnd_, &pt);
            RightClick(pt);
        }
        result = 1;  // the tree shows no menu of its own
        return true;
    }
    default:
        return false;
    }
}
