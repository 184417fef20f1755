#include "tools/bench/FloorTree.h"
#include <shellapi.h>
#include <stdexcept>

namespace {
constexpr char kFloorClass[] = "FernwickBenchFloor";
}

FloorTree::FloorTree(HWND likeTree)
{
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = ::DefWindowProcA;
    windowClass.hInstance = ::GetModuleHandleA(nullptr);
    windowClass.lpszClassName = kFloorClass;
    ::RegisterClassA(&windowClass); // fails harmlessly when registered before
    RECT rect;
    ::GetWindowRect(likeTree, &rect);
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    m_frame.reset(::CreateWindowExA(0, kFloorClass, "floor", WS_POPUP, rect.left, rect.top, width, height, nullptr,
                                    nullptr, windowClass.hInstance, nullptr));
    m_tree = ::CreateWindowExA(0, WC_TREEVIEWA, "", WS_CHILD | WS_VISIBLE | TVS_HASBUTTONS | TVS_HASLINES |
                               TVS_LINESATROOT, 0, 0, width, height, m_frame.get(), nullptr, windowClass.hInstance,
                               nullptr);
    if (m_tree == nullptr)
        throw std::runtime_error("cannot create the floor's tree-view control");
    SHFILEINFOA info{};
    auto list = reinterpret_cast<HIMAGELIST>(
        ::SHGetFileInfoA("C:\\", 0, &info, sizeof info, SHGFI_SYSICONINDEX | SHGFI_SMALLICON));
    TreeView_SetImageList(m_tree, list, TVSIL_NORMAL);
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
