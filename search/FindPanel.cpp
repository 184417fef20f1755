#include "search/FindPanel.h"
#include <algorithm>
#include <shlwapi.h>
#include "framework/Dpi.h"
#include "framework/WinApp.h"
#include "framework/Handles.h"
#include "framework/ShellCalls.h"
#include "res/resource.h"
#include "shell/DragOut.h"
#include "shell/ExplorerMenu.h"
#include "tree/Launching.h"
#include "tree/ShellPath.h"

namespace {
constexpr int kBoxHeight = 24;   // at 96 DPI
constexpr int kStatusWidth = 170;
constexpr int kGap = 4;
// Typing this long after the last look at the disk looks again, once the keys pause for
// kPauseMs: a look goes over every folder, and no key should wait for its slices.
constexpr ULONGLONG kRecheckMs = 1000;
constexpr UINT kPauseMs = 150;
constexpr UINT_PTR kRecheckTimer = 1;
// No name is longer; a pasted page of text is cut here.
constexpr int kMaxQuery = 1024;

std::wstring LoadText(UINT nID)
{
    wchar_t buffer[256] = L"";
    ::LoadStringW(AfxGetInstanceHandle(), nID, buffer, static_cast<int>(std::size(buffer)));
    return buffer;
}

void CopyText(const std::wstring& text, LVITEMW& item)
{
    if (item.cchTextMax <= 0)
        return;
    const size_t size = std::min(text.size(), static_cast<size_t>(item.cchTextMax - 1));
    std::wmemcpy(item.pszText, text.data(), size);
    item.pszText[size] = L'\0';
}
} // namespace

BOOL CFindPanel::Create(HWND parent, UINT nID)
{
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_LISTVIEW_CLASSES};
    ::InitCommonControlsEx(&icc);
    const RECT empty{0, 0, 0, 0};
    if (!CreateEx(WS_EX_CONTROLPARENT, nullptr, "", WS_CHILD | WS_CLIPCHILDREN, empty, parent,
                  reinterpret_cast<HMENU>(static_cast<UINT_PTR>(nID))))
        return FALSE;
    const HINSTANCE instance = AfxGetInstanceHandle();
    m_hBox = ::CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL, 0, 0,
                               0, 0, m_hWnd, nullptr, instance, nullptr);
    m_hStatus = ::CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE | SS_RIGHT | SS_CENTERIMAGE, 0, 0, 0, 0,
                                  m_hWnd, nullptr, instance, nullptr);
    m_hList = ::CreateWindowExW(WS_EX_CLIENTEDGE, WC_LISTVIEWW, L"",
                                WS_CHILD | WS_VISIBLE | LVS_REPORT | LVS_OWNERDATA | LVS_SINGLESEL | LVS_SHOWSELALWAYS |
                                    LVS_NOCOLUMNHEADER | LVS_SHAREIMAGELISTS,
                                0, 0, 0, 0, m_hWnd, nullptr, instance, nullptr);
    if (m_hBox == nullptr || m_hStatus == nullptr || m_hList == nullptr)
        return FALSE;
    ::SendMessageW(m_hBox, EM_SETLIMITTEXT, kMaxQuery, 0);
    ::SendMessageW(m_hBox, EM_SETCUEBANNER, TRUE, reinterpret_cast<LPARAM>(LoadText(IDS_FIND_CUE).c_str()));
    ListView_SetExtendedListViewStyle(m_hList, LVS_EX_FULLROWSELECT | LVS_EX_DOUBLEBUFFER);
    LVCOLUMNW column{};
    column.mask = LVCF_WIDTH;
    for (int i = 0; i < 2; ++i)
        ::SendMessageW(m_hList, LVM_INSERTCOLUMNW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&column));
    SetLook(reinterpret_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT)), AfxGetWindowDpi(m_hWnd));
    return TRUE;
}

void CFindPanel::SetLook(HFONT hFont, UINT nDpi)
{
    m_nDpi = nDpi;
    for (HWND hWnd : {m_hBox, m_hStatus, m_hList})
        ::SendMessageW(hWnd, WM_SETFONT, reinterpret_cast<WPARAM>(hFont), TRUE);
    ListView_SetImageList(m_hList, CShellIcons::ImageListForDpi(nDpi), LVSIL_SMALL);
    RECT client{};
    GetClientRect(&client);
    Layout(client.right, client.bottom);
}

void CFindPanel::Layout(int cx, int cy)
{
    const int box = AfxScale(kBoxHeight, m_nDpi);
    const int status = std::min(AfxScale(kStatusWidth, m_nDpi), cx / 2);
    const int gap = AfxScale(kGap, m_nDpi);
    ::MoveWindow(m_hBox, 0, 0, cx - status - gap, box, TRUE);
    ::MoveWindow(m_hStatus, cx - status, 0, status, box, TRUE);
    ::MoveWindow(m_hList, 0, box + gap, cx, std::max(0, cy - box - gap), TRUE);
    RECT inside{};
    ::GetClientRect(m_hList, &inside);
    const int name = inside.right * 11 / 20;
    ListView_SetColumnWidth(m_hList, 0, name);
    ListView_SetColumnWidth(m_hList, 1, inside.right - name);
}

void CFindPanel::Begin()
{
    ::SetWindowTextW(m_hBox, L"");
    m_results.Clear();
    Show(0);
    ::SetFocus(m_hBox);
    CheckIndex();
    UpdateStatus();
}

void CFindPanel::OnTextChanged()
{
    if (::GetTickCount64() - m_lastCheck >= kRecheckMs && !m_index.Busy())
        SetTimer(kRecheckTimer, kPauseMs); // each key sets it again: it fires at the first pause
    Refresh();
}

void CFindPanel::CheckIndex()
{
    KillTimer(kRecheckTimer);
    m_index.CheckForChanges();
    m_lastCheck = ::GetTickCount64();
    if (onIndexWork)
        onIndexWork();
}

void CFindPanel::Refresh()
{
    const int length = ::GetWindowTextLengthW(m_hBox);
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    text.resize(static_cast<size_t>(::GetWindowTextW(m_hBox, text.data(), length + 1)));
    const std::u16string query(text.begin(), text.end());
    // The entry chosen stays chosen when it is found again.
    const int row = Selected();
    const std::vector<std::uint32_t>& before = m_results.Entries();
    const std::uint32_t chosen = row >= 0 && static_cast<size_t>(row) < before.size() ? before[static_cast<size_t>(row)]
                                                                                     : CSearchIndex::kNone;
    const bool sameText = query == m_shownText;
    m_shownText = query;
    const std::vector<std::uint32_t>& results = m_results.Run(m_index, query);
    Show(results.size());
    for (size_t i = 0; sameText && i < results.size(); ++i)
        if (results[i] == chosen)
            Select(static_cast<int>(i));
}

void CFindPanel::Show(std::size_t count)
{
    if (m_iconGeneration != m_index.Generation()) {
        m_iconOf.clear();
        m_iconGeneration = m_index.Generation();
    }
    // The list draws its scroll bar at once at every change of its count, and under Wine
    // each such draw costs about what a paint does: with a new count the list is drawn once,
    // by its next paint, and with the same count the scroll bar is left alone.
    const bool newCount = ListView_GetItemCount(m_hList) != static_cast<int>(count);
    if (newCount) {
        ::SendMessageW(m_hList, WM_SETREDRAW, FALSE, 0);
        ::SendMessageW(m_hList, LVM_SETITEMCOUNT, count, 0);
    }
    if (count > 0)
        Select(0);
    if (newCount) {
        ::SendMessageW(m_hList, WM_SETREDRAW, TRUE, 0);
        ::RedrawWindow(m_hList, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME);
    } else {
        ::InvalidateRect(m_hList, nullptr, TRUE);
    }
    UpdateStatus();
}

std::wstring CFindPanel::Status() const
{
    // The system's bounded formatter: the C library's brings its floating point along (16 KiB).
    wchar_t text[128] = L"";
    if (m_index.Building())
        ::wnsprintfW(text, std::size(text), LoadText(IDS_FIND_BUILDING).c_str(), static_cast<unsigned>(m_index.LiveCount()));
    else if (m_results.Total() > 0)
        ::wnsprintfW(text, std::size(text), LoadText(IDS_FIND_COUNT).c_str(), static_cast<unsigned>(m_results.Total()));
    return text;
}

void CFindPanel::UpdateStatus()
{
    ::SetWindowTextW(m_hStatus, Status().c_str());
}

int CFindPanel::Selected() const
{
    return static_cast<int>(::SendMessageW(m_hList, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
}

void CFindPanel::Select(int row)
{
    LVITEMW state{};
    state.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    state.state = LVIS_SELECTED | LVIS_FOCUSED;
    ::SendMessageW(m_hList, LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&state));
    ::SendMessageW(m_hList, LVM_ENSUREVISIBLE, static_cast<WPARAM>(row), FALSE);
}

void CFindPanel::Move(int rows)
{
    const int count = static_cast<int>(m_results.Entries().size());
    if (count == 0)
        return;
    Select(std::clamp(Selected() + rows, 0, count - 1));
}

std::wstring CFindPanel::Caption(std::uint32_t entry) const
{
    const std::u16string_view name = m_index.Name(entry);
    const ItemKind kind = m_index.Kind(entry);
    // The kind says the extension stands apart: four plain characters.
    const size_t shown = kind == kindShortcut || kind == kindInternetShortcut ? name.size() - 4 : name.size();
    return {name.begin(), name.begin() + static_cast<std::ptrdiff_t>(shown)};
}

void CFindPanel::OpenSelected(bool reveal)
{
    const int row = Selected();
    const std::vector<std::uint32_t>& results = m_results.Entries();
    if (row < 0 || static_cast<size_t>(row) >= results.size())
        return;
    const std::uint32_t entry = results[static_cast<size_t>(row)];
    if (reveal) {
        if (onReveal)
            onReveal(m_index.RelativePath(entry));
        return;
    }
    // The path the entry has now; a file gone since opens nothing, and the shell says so.
    OpenWithShell(::GetAncestor(m_hWnd, GA_ROOT), PathFromWide(m_index.FullPath(entry)),
                  m_index.Kind(entry) == kindShortcut);
    if (onOpened)
        onOpened();
}

std::wstring CFindPanel::RowPath(int row) const
{
    const std::vector<std::uint32_t>& results = m_results.Entries();
    if (row < 0 || static_cast<size_t>(row) >= results.size())
        return {};
    return m_index.FullPath(results[static_cast<size_t>(row)]);
}

void CFindPanel::ShowEntryMenu(int row, POINT pt)
{
    // Taken now: a verb may take the entry from the disk, and then from the results.
    const std::wstring path = RowPath(row);
    const UniqueMenu popup(::CreatePopupMenu());
    if (path.empty() || !popup)
        return;
    CExplorerMenu menu(path, ::GetAncestor(m_hWnd, GA_ROOT));
    menu.Track(popup.get(), pt);
}

int CFindPanel::IconOf(std::uint32_t entry)
{
    if (const auto it = m_iconOf.find(entry); it != m_iconOf.end())
        return it->second;
    const bool folder = m_index.Kind(entry) == kindFolder;
    CShellIcons::Images images;
    if (!m_icons.Lookup(PathFromWide(m_index.FullPath(entry)), folder, images))
        images = m_icons.Generic(folder);
    m_iconOf.emplace(entry, images.normal);
    return images.normal;
}

LRESULT CFindPanel::OnListNotify(NMHDR* header)
{
    switch (header->code) {
    case LVN_GETDISPINFOW: {
        LVITEMW& item = reinterpret_cast<NMLVDISPINFOW*>(header)->item;
        const std::vector<std::uint32_t>& results = m_results.Entries();
        if (item.iItem < 0 || static_cast<size_t>(item.iItem) >= results.size())
            return 0;
        const std::uint32_t entry = results[static_cast<size_t>(item.iItem)];
        if (item.mask & LVIF_TEXT)
            CopyText(item.iSubItem == 0 ? Caption(entry) : m_index.FolderBelowRoot(entry), item);
        if ((item.mask & LVIF_IMAGE) && item.iSubItem == 0)
            item.iImage = IconOf(entry);
        return 0;
    }
    case NM_CUSTOMDRAW: {
        auto* draw = reinterpret_cast<NMLVCUSTOMDRAW*>(header);
        if (draw->nmcd.dwDrawStage == CDDS_PREPAINT)
            return CDRF_NOTIFYITEMDRAW;
        if (draw->nmcd.dwDrawStage == CDDS_ITEMPREPAINT)
            return CDRF_NOTIFYSUBITEMDRAW;
        if (draw->nmcd.dwDrawStage == (CDDS_ITEMPREPAINT | CDDS_SUBITEM))
            draw->clrText = draw->iSubItem == 1 ? ::GetSysColor(COLOR_GRAYTEXT) : CLR_DEFAULT;
        return CDRF_DODEFAULT;
    }
    case NM_DBLCLK:
        OpenSelected(false);
        return 0;
    case NM_RCLICK:
        if (const int row = reinterpret_cast<const NMITEMACTIVATE*>(header)->iItem; row >= 0) {
            Select(row);
            POINT cursor{};
            g_shellCalls.GetCursorPos(&cursor);
            ShowEntryMenu(row, cursor);
        }
        return 0;
    case LVN_BEGINDRAG:
        if (const std::wstring path = RowPath(reinterpret_cast<const NMLISTVIEW*>(header)->iItem); !path.empty())
            DragOut(path, ::GetAncestor(m_hWnd, GA_ROOT));
        return 0;
    case NM_RETURN:
        OpenSelected((::GetKeyState(VK_CONTROL) & 0x8000) != 0);
        return 0;
    }
    return 0;
}

BOOL CFindPanel::PreTranslateMessage(MSG* pMsg)
{
    if (pMsg->hwnd != m_hBox && pMsg->hwnd != m_hList)
        return FALSE;
    // The Apps key and Shift+F10 are the selected result's, in the box as in the list; the
    // box's own edit menu stays on its right click. The Apps key's release is taken too, and
    // the keyboard's WM_CONTEXTMENU this Wine posts besides: either would bring the box's menu.
    const bool shift = (::GetKeyState(VK_SHIFT) & 0x8000) != 0;
    if (pMsg->message == WM_CONTEXTMENU && pMsg->lParam == -1)
        return TRUE;
    if (((pMsg->message == WM_KEYDOWN || pMsg->message == WM_KEYUP) && pMsg->wParam == VK_APPS) ||
        (pMsg->message == WM_SYSKEYDOWN && pMsg->wParam == VK_F10 && shift)) {
        if (pMsg->message != WM_KEYUP) {
            const int row = Selected();
            RECT text{};
            ListView_GetItemRect(m_hList, row, &text, LVIR_LABEL);
            POINT below{text.left, text.bottom};
            ::ClientToScreen(m_hList, &below);
            ShowEntryMenu(row, below);
        }
        return TRUE;
    }
    if (pMsg->message != WM_KEYDOWN)
        return FALSE;
    const int page = std::max(1, static_cast<int>(::SendMessageW(m_hList, LVM_GETCOUNTPERPAGE, 0, 0)) - 1);
    switch (pMsg->wParam) {
    case VK_UP:
        Move(-1);
        return TRUE;
    case VK_DOWN:
        Move(1);
        return TRUE;
    case VK_PRIOR:
        Move(-page);
        return TRUE;
    case VK_NEXT:
        Move(page);
        return TRUE;
    case VK_RETURN:
        OpenSelected((::GetKeyState(VK_CONTROL) & 0x8000) != 0);
        return TRUE;
    case VK_ESCAPE:
        if (onCancel)
            onCancel();
        return TRUE;
    }
    return FALSE;
}

LRESULT CFindPanel::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_NOTIFYFORMAT:
        return NFR_UNICODE;
    case WM_NOTIFY:
        if (reinterpret_cast<NMHDR*>(lParam)->hwndFrom == m_hList)
            return OnListNotify(reinterpret_cast<NMHDR*>(lParam));
        break;
    case WM_COMMAND:
        if (reinterpret_cast<HWND>(lParam) == m_hBox && HIWORD(wParam) == EN_CHANGE) {
            OnTextChanged();
            return 0;
        }
        break;
    case WM_SIZE:
        Layout(LOWORD(lParam), HIWORD(lParam));
        return 0;
    case WM_TIMER:
        if (wParam != kRecheckTimer)
            break;
        KillTimer(kRecheckTimer);
        if (IsWindowVisible() && !m_index.Busy())
            CheckIndex();
        return 0;
    case WM_SETFOCUS:
        ::SetFocus(m_hBox);
        return 0;
    case WM_CTLCOLORSTATIC:
        ::SetTextColor(reinterpret_cast<HDC>(wParam), ::GetSysColor(COLOR_GRAYTEXT));
        ::SetBkColor(reinterpret_cast<HDC>(wParam), ::GetSysColor(COLOR_WINDOW));
        return reinterpret_cast<LRESULT>(::GetSysColorBrush(COLOR_WINDOW));
    }
    return CWnd::WindowProc(message, wParam, lParam);
}
