#include "tools/bench/FloorTree.h"
#include <shellapi.h>
#include <stdexcept>
#include "tools/bench/FloorOrder.h"
#include "tools/bench/Listing.h"

namespace {
constexpr char kFloorClass[] = "FernwickBenchFloor";
// A screen and more, short of asking the shell about thousands of shortcuts.
constexpr size_t kComparedRows = 300;
constexpr DWORD kTreeStyle = WS_CHILD | WS_VISIBLE | TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT;

int QueryIcon(const std::string& name, DWORD attributes, UINT flags)
{
    SHFILEINFOA info{};
    ::SHGetFileInfoA(name.c_str(), attributes, &info, sizeof info, SHGFI_SYSICONINDEX | SHGFI_SMALLICON | flags);
    return info.iIcon;
}

std::string UpperExtension(const std::string& path)
{
    const size_t dot = path.rfind('.');
    const size_t slash = path.rfind('\\');
    std::string extension = dot == std::string::npos || (slash != std::string::npos && dot < slash) ? "" : path.substr(dot);
    for (char& c : extension)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    return extension;
}

// A shortcut is shown without its extension.
std::string Caption(const std::string& name)
{
    const std::string extension = UpperExtension(name);
    return (extension == ".LNK" || extension == ".URL") && name.size() > 4 ? name.substr(0, name.size() - 4) : name;
}

bool HasAnyEntry(const std::string& folder)
{
    WIN32_FIND_DATAA data;
    UniqueFindHandle find(::FindFirstFileA((folder + "\\*").c_str(), &data));
    for (bool more = static_cast<bool>(find); more; more = ::FindNextFileA(find.get(), &data))
        if (std::string(data.cFileName) != "." && std::string(data.cFileName) != "..")
            return true;
    return false;
}
} // namespace

std::vector<DrawnRow> VisibleRows(HWND tree, size_t limit)
{
    std::vector<DrawnRow> rows;
    for (HTREEITEM h = TreeView_GetRoot(tree); h != nullptr && rows.size() < limit;
         h = TreeView_GetNextVisible(tree, h)) {
        char text[MAX_PATH * 2] = {};
        TVITEMA item{};
        item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_CHILDREN | TVIF_STATE;
        item.hItem = h;
        item.pszText = text;
        item.cchTextMax = sizeof text;
        item.stateMask = TVIS_EXPANDED | TVIS_SELECTED;
        TreeView_GetItem(tree, &item);
        rows.push_back({text, item.iImage, item.iSelectedImage, item.cChildren != 0,
                        (item.state & TVIS_EXPANDED) != 0, (item.state & TVIS_SELECTED) != 0});
    }
    return rows;
}

void CheckSameRows(const char* scenario, HWND fernwick, HWND floor)
{
    const std::vector<DrawnRow> expected = VisibleRows(fernwick, kComparedRows);
    const std::vector<DrawnRow> actual = VisibleRows(floor, kComparedRows);
    for (size_t i = 0; i < expected.size() || i < actual.size(); ++i) {
        if (i < expected.size() && i < actual.size() && expected[i] == actual[i])
            continue;
        const DrawnRow none{"(no row)"};
        const DrawnRow& e = i < expected.size() ? expected[i] : none;
        const DrawnRow& a = i < actual.size() ? actual[i] : none;
        throw std::runtime_error(std::string(scenario) + ": the floor's row " + std::to_string(i) + " is \"" +
                                 a.text + "\" (icons " + std::to_string(a.image) + "/" +
                                 std::to_string(a.selectedImage) + ", button " + std::to_string(a.button) +
                                 "), Fernwick's \"" + e.text + "\" (icons " + std::to_string(e.image) + "/" +
                                 std::to_string(e.selectedImage) + ", button " + std::to_string(e.button) + ")");
    }
}

FloorTree::FloorTree(HWND likeTree)
{
    RECT rect;
    ::GetWindowRect(likeTree, &rect);
    Make(WS_POPUP, rect, nullptr, "floor");
}

FloorTree::FloorTree(const char* title, HMENU menu) : m_mainWindow(true)
{
    const RECT rect{CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT};
    Make(WS_OVERLAPPEDWINDOW, rect, menu, title);
}

void FloorTree::Make(DWORD style, const RECT& rect, HMENU menu, const char* title)
{
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = FrameProc;
    windowClass.hInstance = ::GetModuleHandleA(nullptr);
    windowClass.hCursor = ::LoadCursorA(nullptr, IDC_ARROW);
    windowClass.lpszClassName = kFloorClass;
    ::RegisterClassA(&windowClass); // fails harmlessly when registered before
    const bool sized = rect.left != CW_USEDEFAULT;
    m_frame.reset(::CreateWindowExA(0, kFloorClass, title, style, rect.left, rect.top,
                                    sized ? rect.right - rect.left : CW_USEDEFAULT,
                                    sized ? rect.bottom - rect.top : CW_USEDEFAULT, nullptr, menu,
                                    windowClass.hInstance, this));
    RECT client{};
    ::GetClientRect(m_frame.get(), &client);
    m_tree = ::CreateWindowExA(0, WC_TREEVIEWA, "", kTreeStyle, 0, 0, client.right, client.bottom, m_frame.get(),
                               nullptr, windowClass.hInstance, nullptr);
    if (m_tree == nullptr)
        throw std::runtime_error("cannot create the floor's tree-view control");
    SHFILEINFOA info{};
    auto list = reinterpret_cast<HIMAGELIST>(
        ::SHGetFileInfoA("C:\\", 0, &info, sizeof info, SHGFI_SYSICONINDEX | SHGFI_SMALLICON));
    TreeView_SetImageList(m_tree, list, TVSIL_NORMAL);
}

LRESULT CALLBACK FloorTree::FrameProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE)
        ::SetWindowLongPtrA(hWnd, GWLP_USERDATA,
                            reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams));
    auto* self = reinterpret_cast<FloorTree*>(::GetWindowLongPtrA(hWnd, GWLP_USERDATA));
    switch (message) {
    case WM_NOTIFY:
        if (reinterpret_cast<NMHDR*>(lParam)->code == TVN_GETDISPINFOA && self != nullptr) {
            self->OnGetDispInfo(reinterpret_cast<NMTVDISPINFOA*>(lParam)->item);
            return 0;
        }
        break;
    case WM_SIZE:
        if (self != nullptr && self->m_tree != nullptr)
            ::MoveWindow(self->m_tree, 0, 0, LOWORD(lParam), HIWORD(lParam), TRUE);
        return 0;
    case WM_DESTROY:
        if (self != nullptr && self->m_mainWindow)
            ::PostQuitMessage(0);
        return 0;
    }
    return ::DefWindowProcA(hWnd, message, wParam, lParam);
}

void FloorTree::Show(bool shown) const
{
    ::ShowWindow(m_frame.get(), shown ? SW_SHOWNOACTIVATE : SW_HIDE);
    ::UpdateWindow(m_frame.get());
}

HTREEITEM FloorTree::Insert(HTREEITEM parent, const std::string& text, int image) const
{
    TVINSERTSTRUCTA insert{};
    insert.hParent = parent;
    insert.hInsertAfter = TVI_LAST;
    insert.item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE;
    insert.item.pszText = const_cast<char*>(text.c_str());
    insert.item.iImage = insert.item.iSelectedImage = image;
    return TreeView_InsertItem(m_tree, &insert);
}

HTREEITEM FloorTree::InsertEntry(HTREEITEM parent, const std::string& folder, const std::string& name, bool isFolder,
                                 UINT state)
{
    m_entries.push_back({folder + '\\' + name, isFolder});
    std::string text = isFolder ? name : Caption(name);
    TVINSERTSTRUCTA insert{};
    insert.hParent = parent;
    insert.hInsertAfter = TVI_LAST;
    insert.item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_CHILDREN | TVIF_PARAM | TVIF_STATE;
    insert.item.pszText = text.data();
    insert.item.iImage = insert.item.iSelectedImage = I_IMAGECALLBACK;
    // A folder shown expanded has its children already: no probe.
    insert.item.cChildren = isFolder && !(state & TVIS_EXPANDED) ? I_CHILDRENCALLBACK : 0;
    insert.item.lParam = static_cast<LPARAM>(m_entries.size() - 1);
    insert.item.state = insert.item.stateMask = state;
    return TreeView_InsertItem(m_tree, &insert);
}

std::vector<std::pair<std::string, HTREEITEM>> FloorTree::InsertFolder(
    HTREEITEM parent, const std::string& folder, const FloorOrder& order,
    const std::function<bool(const std::string&)>& expanded)
{
    Listing listing = ListFolder(folder);
    order.Sort(listing.folders);
    order.Sort(listing.files);
    std::vector<std::pair<std::string, HTREEITEM>> folders;
    folders.reserve(listing.folders.size());
    for (const std::string& name : listing.folders) {
        const UINT state = expanded && expanded(name) ? TVIS_EXPANDED | TVIS_EXPANDEDONCE : 0;
        folders.emplace_back(name, InsertEntry(parent, folder, name, true, state));
    }
    for (const std::string& name : listing.files)
        InsertEntry(parent, folder, name, false);
    return folders;
}

void FloorTree::DeleteAll()
{
    TreeView_DeleteAllItems(m_tree);
    m_entries.clear();
}

int FloorTree::IconOf(const Entry& entry, bool open)
{
    std::string type = entry.isFolder ? (open ? "\\open" : "\\") : UpperExtension(entry.path);
    // Programs, icons and shortcuts each have their own.
    for (const char* own : {".EXE", ".ICO", ".LNK", ".URL"})
        if (type == own)
            return QueryIcon(entry.path, 0, 0);
    auto it = m_iconByType.find(type);
    if (it == m_iconByType.end()) {
        int icon = 0;
        if (!entry.isFolder)
            icon = QueryIcon("x" + type, FILE_ATTRIBUTE_NORMAL, SHGFI_USEFILEATTRIBUTES);
        else if (!open)
            icon = QueryIcon("x", FILE_ATTRIBUTE_DIRECTORY, SHGFI_USEFILEATTRIBUTES);
        else // this Wine gives the open folder by type as the closed one: one folder is asked by its path
            icon = QueryIcon(entry.path + '\\', 0, SHGFI_OPENICON);
        it = m_iconByType.emplace(type, icon).first;
    }
    return it->second;
}

void FloorTree::OnGetDispInfo(TVITEMA& item)
{
    const Entry& entry = m_entries.at(static_cast<size_t>(item.lParam));
    if (item.mask & TVIF_IMAGE)
        item.iImage = IconOf(entry, false);
    if (item.mask & TVIF_SELECTEDIMAGE)
        item.iSelectedImage = IconOf(entry, true);
    if (item.mask & TVIF_CHILDREN)
        item.cChildren = HasAnyEntry(entry.path) ? 1 : 0;
    item.mask |= TVIF_DI_SETITEM;
}
