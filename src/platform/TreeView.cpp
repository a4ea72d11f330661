#include "platform/TreeView.h"

#include <algorithm>

int TreeView::CompareTexts(const std::wstring& a, const std::wstring& b) {
    return CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE, a.c_str(), -1, b.c_str(), -1) - CSTR_EQUAL;
}

namespace {

std::wstring ItemText(HWND tree, HTREEITEM h) {
    std::wstring buf(1024, L'\0');
    TVITEMW it{};
    it.mask = TVIF_TEXT;
    it.hItem = h;
    it.pszText = buf.data();
    it.cchTextMax = static_cast<int>(buf.size());
    SendMessageW(tree, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&it));
    buf.resize(wcslen(buf.c_str()));
    return buf;
}

HTREEITEM Next(HWND tree, HTREEITEM h, UINT how) {
    return reinterpret_cast<HTREEITEM>(SendMessageW(tree, TVM_GETNEXTITEM, how, reinterpret_cast<LPARAM>(h)));
}

std::wstring Trimmed(const std::wstring& s) {
    size_t b = s.find_first_not_of(L" \t");
    if (b == std::wstring::npos) return {};
    size_t e = s.find_last_not_of(L" \t");
    return s.substr(b, e - b + 1);
}
}  // namespace

TreeView::~TreeView() {
    if (hwnd_) Clear();
}

bool TreeView::Create(HWND parent, int id, DWORD extraStyle) {
    nodes_.clear();  // a tree made again starts with no nodes
    return CreateChild(parent, WC_TREEVIEWW,
                       WS_VISIBLE | WS_TABSTOP | TVS_HASLINES | TVS_LINESATROOT | TVS_HASBUTTONS |
                           TVS_SHOWSELALWAYS | TVS_EDITLABELS | extraStyle,
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
    if (parent == 0 && sorted_) return AddSorted(parent, text, key, image, selectedImage);
    return Insert(parent, TVI_LAST, text, key, image, selectedImage);
}

int TreeView::AddSorted(int parent, const std::wstring& text, const std::wstring& key, int image, int selectedImage) {
    HTREEITEM p = parent ? Handle(parent) : TVI_ROOT;
    if (!p) return 0;
    return Insert(parent, SortedPlace(p, text), text, key, image, selectedImage);
}

HTREEITEM TreeView::SortedPlace(HTREEITEM parent, const std::wstring& text) const {
    // After the last sibling that sorts before or equal to the text: equal
    // texts keep the order in which they came.
    HTREEITEM after = TVI_FIRST;
    HTREEITEM c = parent == TVI_ROOT ? Next(hwnd_, nullptr, TVGN_ROOT) : Next(hwnd_, parent, TVGN_CHILD);
    for (; c; c = Next(hwnd_, c, TVGN_NEXT)) {
        if (CompareTexts(ItemText(hwnd_, c), text) > 0) break;
        after = c;
    }
    return after;
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
    auto* d = new NodeData{key, {}, nullptr, image, selectedImage, 0};
    ins.item.lParam = reinterpret_cast<LPARAM>(d);
    auto h = reinterpret_cast<HTREEITEM>(SendMessageW(hwnd_, TVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&ins)));
    if (!h) {
        delete d;
        return 0;
    }
    d->handle = h;
    nodes_.push_back(h);
    return Count();
}

void TreeView::Forget(HTREEITEM h) {
    auto it = std::find(nodes_.begin(), nodes_.end(), h);
    if (it != nodes_.end()) nodes_.erase(it);
}

int TreeView::Remove(int node) {
    HTREEITEM h = Handle(node);
    if (!h) return SelectedItem();
    if (Editing()) EndLabelEdit(true);
    int selected = SelectedItem();
    bool moves = false;
    for (int n = selected; n; n = Parent(n))
        if (n == node) moves = true;
    int target = 0;
    if (moves) {
        target = NextSibling(node);
        if (!target) target = Parent(node);
        if (!target) target = IndexOf(Next(hwnd_, h, TVGN_PREVIOUS));
        // Selected before the removal, so that the control has nothing of its own to choose.
        if (target) Select(target);
    }
    HTREEITEM targetHandle = Handle(target);
    SendMessageW(hwnd_, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(h));
    if (!moves) return SelectedItem();
    int now = IndexOf(targetHandle);  // indices after the removed nodes have shifted
    if (AfterRemove) AfterRemove(now);
    return now;
}

void TreeView::Clear() {
    if (hwnd_) SendMessageW(hwnd_, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(TVI_ROOT));
    nodes_.clear();
}

std::wstring TreeView::Text(int node) const {
    HTREEITEM h = Handle(node);
    return h ? ItemText(hwnd_, h) : std::wstring();
}

void TreeView::SetText(int node, const std::wstring& s) {
    HTREEITEM h = Handle(node);
    if (!h) return;
    TVITEMW it{};
    it.mask = TVIF_TEXT;
    it.hItem = h;
    it.pszText = const_cast<wchar_t*>(s.c_str());
    SendMessageW(hwnd_, TVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&it));
    if (sorted_ && !Parent(node)) SortChildren(0);
}

void TreeView::SetImage(int node, int image, int selectedImage) {
    if (NodeData* d = Data(node)) {
        d->image = image;
        d->selectedImage = selectedImage;
        ShowImages(node);
    }
}

int TreeView::ExpandedImage(int node) const {
    NodeData* d = Data(node);
    return d ? d->expandedImage : 0;
}

void TreeView::SetExpandedImage(int node, int image) {
    if (NodeData* d = Data(node)) {
        d->expandedImage = image;
        ShowImages(node);
    }
}

void TreeView::ShowImages(int node) {
    NodeData* d = Data(node);
    if (!d) return;
    int shown = d->expandedImage > 0 && Expanded(node) ? d->expandedImage : d->image;
    TVITEMW it{};
    it.mask = TVIF_IMAGE | TVIF_SELECTEDIMAGE;
    it.hItem = d->handle;
    it.iImage = shown > 0 ? shown - 1 : 0;
    it.iSelectedImage = d->selectedImage > 0 ? d->selectedImage - 1 : it.iImage;
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
    return h ? IndexOf(Next(hwnd_, h, TVGN_PARENT)) : 0;
}
int TreeView::FirstChild(int node) const {
    HTREEITEM h = Handle(node);
    return h ? IndexOf(Next(hwnd_, h, TVGN_CHILD)) : 0;
}
int TreeView::NextSibling(int node) const {
    HTREEITEM h = Handle(node);
    return h ? IndexOf(Next(hwnd_, h, TVGN_NEXT)) : 0;
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
    HTREEITEM h = Handle(node);
    if (!h) return;
    // Expanding from code sends no expand notification: the image follows here.
    SendMessageW(hwnd_, TVM_EXPAND, on ? TVE_EXPAND : TVE_COLLAPSE, reinterpret_cast<LPARAM>(h));
    ShowImages(node);
}
bool TreeView::Expanded(int node) const {
    HTREEITEM h = Handle(node);
    return h && (SendMessageW(hwnd_, TVM_GETITEMSTATE, reinterpret_cast<WPARAM>(h), TVIS_EXPANDED) & TVIS_EXPANDED);
}

int TreeView::SelectedItem() const {
    if (!hwnd_) return 0;
    return IndexOf(Next(hwnd_, nullptr, TVGN_CARET));
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

// ---- sorting

int CALLBACK TreeView::CompareNodes(LPARAM a, LPARAM b, LPARAM tree) {
    HWND h = reinterpret_cast<HWND>(tree);
    return CompareTexts(ItemText(h, reinterpret_cast<NodeData*>(a)->handle),
                        ItemText(h, reinterpret_cast<NodeData*>(b)->handle));
}

void TreeView::SetSorted(bool on) {
    sorted_ = on;
    if (on) SortChildren(0);
}

void TreeView::SortChildren(int node) {
    HTREEITEM parent = node ? Handle(node) : TVI_ROOT;
    if (!hwnd_ || !parent) return;
    TVSORTCB sort{};
    sort.hParent = parent;
    sort.lpfnCompare = &TreeView::CompareNodes;
    sort.lParam = reinterpret_cast<LPARAM>(hwnd_);
    SendMessageW(hwnd_, TVM_SORTCHILDRENCB, 0, reinterpret_cast<LPARAM>(&sort));
}

// ---- label editing

void TreeView::SetLabelEdit(LabelEditMode mode) { labelEdit_ = mode; }

bool TreeView::Editing() const {
    return hwnd_ && SendMessageW(hwnd_, TVM_GETEDITCONTROL, 0, 0) != 0;
}

bool TreeView::StartLabelEdit(int node) {
    if (!hwnd_) return false;
    if (!node) node = SelectedItem();
    HTREEITEM h = Handle(node);
    if (!h) return false;
    if (Editing()) EndLabelEdit(false);
    if (SelectedItem() != node) Select(node);
    // The tree always has the edit style (the control opens no box without
    // it); in manual mode the begin-edit notification refuses every edit this
    // call did not start.
    ::SetFocus(hwnd_);
    editFromCode_ = true;
    HWND edit = reinterpret_cast<HWND>(SendMessageW(hwnd_, TVM_EDITLABELW, 0, reinterpret_cast<LPARAM>(h)));
    editFromCode_ = false;
    return edit != nullptr;
}

void TreeView::EndLabelEdit(bool cancel) {
    if (Editing()) SendMessageW(hwnd_, TVM_ENDEDITLABELNOW, cancel, 0);
}

bool TreeView::OnEndLabelEdit(NMTVDISPINFOW* di) {
    // A box shown by the handler takes the focus from the edit box, which
    // would end the same edit again: that second end changes nothing.
    if (endingEdit_) return false;
    int node = IndexOf(di->item.hItem);
    if (!node) return false;
    endingEdit_ = true;
    if (!di->item.pszText) {
        if (LabelEditCancelled) LabelEditCancelled(node);
    } else {
        LabelEditEnd e{node, Trimmed(di->item.pszText), false};
        if (AfterLabelEdit) AfterLabelEdit(e);
        // The node takes the text here, not from the control, so that it gets
        // the text as the handler left it (and its sorted place).
        if (!e.cancel && Handle(node) == di->item.hItem) SetText(node, e.text);
    }
    endingEdit_ = false;
    return false;
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
    case TVN_ITEMEXPANDEDW: {
        auto* tv = reinterpret_cast<NMTREEVIEWW*>(nm);
        ShowImages(IndexOf(tv->itemNew.hItem));
        return false;
    }
    case TVN_BEGINLABELEDITW: {
        auto* di = reinterpret_cast<NMTVDISPINFOW*>(nm);
        int node = IndexOf(di->item.hItem);
        bool allowed = node && (editFromCode_ || labelEdit_ == LabelEditMode::Automatic);
        if (allowed && BeforeLabelEdit && !BeforeLabelEdit(node)) allowed = false;
        result = allowed ? FALSE : TRUE;  // TRUE keeps the edit box from opening
        return true;
    }
    case TVN_ENDLABELEDITW:
        result = OnEndLabelEdit(reinterpret_cast<NMTVDISPINFOW*>(nm)) ? TRUE : FALSE;
        return true;
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
