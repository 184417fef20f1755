#include "tools/bench/FloorFindBox.h"
#include <commctrl.h>
#include <shellapi.h>
#include <algorithm>
#include <cwchar>
#include <stdexcept>

namespace {
constexpr wchar_t kClass[] = L"FernwickBenchFloorFind";
// Fernwick's find panel at 96 DPI: the box's height, the status's width, the gap.
constexpr int kBoxHeight = 24;
constexpr int kStatusWidth = 170;
constexpr int kGap = 4;
// Beside what Fernwick shows by default, so that neither covers the other.
constexpr int kLeft = 520;
constexpr int kTop = 100;
} // namespace

FloorFindBox::FloorFindBox(FloorFind& find, HFONT font, SIZE client) : m_find(find)
{
    const HINSTANCE instance = ::GetModuleHandleW(nullptr);
    WNDCLASSEXW windowClass{};
    if (!::GetClassInfoExW(instance, kClass, &windowClass)) {
        windowClass = {};
        windowClass.cbSize = sizeof windowClass;
        windowClass.lpfnWndProc = Proc;
        windowClass.hInstance = instance;
        windowClass.hCursor = ::LoadCursorA(nullptr, IDC_ARROW);
        windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
        windowClass.lpszClassName = kClass;
        ::RegisterClassExW(&windowClass);
    }
    RECT frame{kLeft, kTop, kLeft + client.cx, kTop + client.cy};
    ::AdjustWindowRectEx(&frame, WS_POPUP | WS_BORDER, FALSE, 0);
    m_window.reset(::CreateWindowExW(0, kClass, L"floor", WS_POPUP | WS_BORDER | WS_CLIPCHILDREN, frame.left, frame.top,
                                     frame.right - frame.left, frame.bottom - frame.top, nullptr, nullptr, instance, this));
    if (!m_window)
        throw std::runtime_error("the floor's find box cannot be made");
    const int status = std::min(kStatusWidth, static_cast<int>(client.cx) / 2);
    const int listTop = kBoxHeight + kGap;
    m_box = ::CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", L"", WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL, 0, 0,
                              client.cx - status - kGap, kBoxHeight, Window(), nullptr, instance, nullptr);
    m_status = ::CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE | SS_RIGHT | SS_CENTERIMAGE,
                                 client.cx - status, 0, status, kBoxHeight, Window(), nullptr, instance, nullptr);
    m_list = ::CreateWindowExW(WS_EX_CLIENTEDGE, WC_LISTVIEWW, L"",
                               WS_CHILD | WS_VISIBLE | LVS_REPORT | LVS_OWNERDATA | LVS_SINGLESEL | LVS_SHOWSELALWAYS |
                                   LVS_NOCOLUMNHEADER | LVS_SHAREIMAGELISTS,
                               0, listTop, client.cx, std::max(0, static_cast<int>(client.cy) - listTop), Window(),
                               nullptr, instance, nullptr);
    if (m_box == nullptr || m_status == nullptr || m_list == nullptr)
        throw std::runtime_error("the floor's find box cannot be made");
    for (HWND control : {m_box, m_status, m_list})
        ::SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    ListView_SetExtendedListViewStyle(m_list, LVS_EX_FULLROWSELECT | LVS_EX_DOUBLEBUFFER);
    SHFILEINFOW info{};
    const auto images = reinterpret_cast<HIMAGELIST>(
        ::SHGetFileInfoW(L"C:\\", 0, &info, sizeof info, SHGFI_SYSICONINDEX | SHGFI_SMALLICON));
    ListView_SetImageList(m_list, images, LVSIL_SMALL);
    RECT inside{};
    ::GetClientRect(m_list, &inside);
    LVCOLUMNW column{};
    column.mask = LVCF_WIDTH;
    column.cx = inside.right * 11 / 20;
    ::SendMessageW(m_list, LVM_INSERTCOLUMNW, 0, reinterpret_cast<LPARAM>(&column));
    column.cx = inside.right - column.cx;
    ::SendMessageW(m_list, LVM_INSERTCOLUMNW, 1, reinterpret_cast<LPARAM>(&column));
}

void FloorFindBox::ShowAt(POINT point)
{
    ::SetWindowPos(Window(), HWND_TOPMOST, point.x, point.y, 0, 0, SWP_NOSIZE | SWP_SHOWWINDOW);
    ::SetForegroundWindow(Window());
    ::SetWindowTextW(m_box, L"");
    ::SetFocus(m_box);
}

void FloorFindBox::OnTextChanged()
{
    wchar_t text[1025] = L"";
    ::GetWindowTextW(m_box, text, static_cast<int>(std::size(text)));
    m_total = m_find.Search(text, 500, m_rows);
    // A new count is drawn once by the next paint, scroll bar and all; the same count leaves
    // the scroll bar alone.
    const bool newCount = ListView_GetItemCount(m_list) != static_cast<int>(m_rows.size());
    if (newCount) {
        ::SendMessageW(m_list, WM_SETREDRAW, FALSE, 0);
        ::SendMessageW(m_list, LVM_SETITEMCOUNT, m_rows.size(), 0);
    }
    if (!m_rows.empty()) {
        LVITEMW state{};
        state.stateMask = state.state = LVIS_SELECTED | LVIS_FOCUSED;
        ::SendMessageW(m_list, LVM_SETITEMSTATE, 0, reinterpret_cast<LPARAM>(&state));
        ::SendMessageW(m_list, LVM_ENSUREVISIBLE, 0, FALSE);
    }
    if (newCount) {
        ::SendMessageW(m_list, WM_SETREDRAW, TRUE, 0);
        ::RedrawWindow(m_list, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME);
    } else {
        ::InvalidateRect(m_list, nullptr, TRUE);
    }
    wchar_t status[32] = L"";
    if (m_total > 0)
        std::swprintf(status, std::size(status), L"%zu", m_total);
    ::SetWindowTextW(m_status, status);
}

int FloorFindBox::IconOf(std::uint32_t entry)
{
    const std::wstring_view name = m_find.Name(entry);
    const bool folder = m_find.IsFolder(entry);
    const size_t dot = name.rfind(L'.');
    const std::wstring type = folder ? L"\\" : dot == std::wstring_view::npos ? L"" : std::wstring(name.substr(dot));
    const auto it = m_iconOfType.find(type);
    if (it != m_iconOfType.end())
        return it->second;
    SHFILEINFOW info{};
    ::SHGetFileInfoW(folder ? L"folder" : (L"file" + type).c_str(),
                     folder ? FILE_ATTRIBUTE_DIRECTORY : FILE_ATTRIBUTE_NORMAL, &info, sizeof info,
                     SHGFI_SYSICONINDEX | SHGFI_SMALLICON | SHGFI_USEFILEATTRIBUTES);
    return m_iconOfType.emplace(type, info.iIcon).first->second;
}

LRESULT FloorFindBox::OnNotify(NMHDR* header)
{
    if (header->hwndFrom != m_list)
        return 0;
    if (header->code == LVN_GETDISPINFOW) {
        LVITEMW& item = reinterpret_cast<NMLVDISPINFOW*>(header)->item;
        if (item.iItem < 0 || static_cast<size_t>(item.iItem) >= m_rows.size())
            return 0;
        const std::uint32_t entry = m_rows[static_cast<size_t>(item.iItem)];
        if ((item.mask & LVIF_TEXT) && item.cchTextMax > 0) {
            m_text = item.iSubItem == 0 ? std::wstring(m_find.Name(entry)) : m_find.FolderBelowRoot(entry);
            const size_t size = std::min(m_text.size(), static_cast<size_t>(item.cchTextMax - 1));
            std::wmemcpy(item.pszText, m_text.data(), size);
            item.pszText[size] = L'\0';
        }
        if ((item.mask & LVIF_IMAGE) && item.iSubItem == 0)
            item.iImage = IconOf(entry);
    } else if (header->code == NM_CUSTOMDRAW) {
        auto* draw = reinterpret_cast<NMLVCUSTOMDRAW*>(header);
        if (draw->nmcd.dwDrawStage == CDDS_PREPAINT)
            return CDRF_NOTIFYITEMDRAW;
        if (draw->nmcd.dwDrawStage == CDDS_ITEMPREPAINT)
            return CDRF_NOTIFYSUBITEMDRAW;
        if (draw->nmcd.dwDrawStage == (CDDS_ITEMPREPAINT | CDDS_SUBITEM))
            draw->clrText = draw->iSubItem == 1 ? ::GetSysColor(COLOR_GRAYTEXT) : CLR_DEFAULT;
    }
    return 0;
}

LRESULT CALLBACK FloorFindBox::Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE)
        ::SetWindowLongPtrW(window, GWLP_USERDATA,
                            reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams));
    auto* self = reinterpret_cast<FloorFindBox*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
    if (self != nullptr) {
        switch (message) {
        case WM_NOTIFY:
            return self->OnNotify(reinterpret_cast<NMHDR*>(lParam));
        case WM_COMMAND:
            if (reinterpret_cast<HWND>(lParam) == self->m_box && HIWORD(wParam) == EN_CHANGE) {
                self->OnTextChanged();
                return 0;
            }
            break;
        case WM_NCDESTROY:
            ::SetWindowLongPtrW(window, GWLP_USERDATA, 0);
            break;
        }
    }
    return ::DefWindowProcW(window, message, wParam, lParam);
}
