// The view's part in the Windows shell: the item menu from the keyboard, items dragged out,
// starting with Windows.
#include <initializer_list>
#include <vector>
#include "framework/WinApp.h"
#include "mbcs/Mbcs.h"
#include "res/resource.h"
#include "shell/DragOut.h"
#include "view/FernwickView.h"

namespace {
// A message of the string table with %1, %2... filled in by the system's own formatter.
std::string FormatResource(UINT id, std::initializer_list<std::string> inserts)
{
    const std::string format = AfxLoadString(id);
    std::vector<DWORD_PTR> arguments;
    for (const std::string& insert : inserts)
        arguments.push_back(reinterpret_cast<DWORD_PTR>(insert.c_str()));
    char* text = nullptr;
    const DWORD length = ::FormatMessageA(
        FORMAT_MESSAGE_FROM_STRING | FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_ARGUMENT_ARRAY, format.c_str(), 0, 0,
        reinterpret_cast<char*>(&text), 0, reinterpret_cast<va_list*>(arguments.data()));
    const std::string result = length != 0 ? std::string(text, length) : format;
    ::LocalFree(text);
    return result;
}

// The system's words for a failure, or its number where it has none.
std::string FailureText(HRESULT hr)
{
    const DWORD code = HRESULT_FACILITY(hr) == FACILITY_WIN32 ? HRESULT_CODE(hr) : static_cast<DWORD>(hr);
    char text[512] = "";
    DWORD length = ::FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code, 0, text,
                                    sizeof text, nullptr);
    while (length > 0 && (text[length - 1] == '\n' || text[length - 1] == '\r'))
        --length;
    if (length > 0)
        return std::string(text, length);
    char number[16];
    wsprintfA(number, "0x%08lX", static_cast<unsigned long>(hr));
    return number;
}

std::string Spelled(const std::wstring& wide)
{
    std::string ansi;
    ToCodePage(wide, ansi); // a message shows '?' for what the code page cannot spell
    return ansi;
}

} // namespace

void CFernwickView::OnContextMenu(HWND hWnd, LPARAM lParam)
{
    // A right click has shown its menu already (NM_RCLICK); the keyboard's comes as -1, -1.
    if (hWnd != m_wndTree.m_hWnd || lParam != -1)
        return;
    HTREEITEM hItem = m_wndTree.GetSelectedItem();
    if (hItem == nullptr)
        return;
    // Below the item's text, or at the tree's corner when it is scrolled out of sight.
    RECT text{};
    POINT pt{0, 0};
    if (m_wndTree.GetItemRect(hItem, &text, TRUE))
        pt = POINT{text.left, text.bottom};
    ::ClientToScreen(m_wndTree.m_hWnd, &pt);
    ShowItemMenu(hItem, pt);
}

void CFernwickView::OnTreeBeginDrag(HTREEITEM hItem)
{
    if (hItem != nullptr)
        DragOut(m_wndTree.ItemFilePath(hItem).Wide(), ::GetAncestor(m_hWnd, GA_ROOT));
}

void CFernwickView::OnViewStartup()
{
    std::wstring other;
    switch (m_startup.Read(&other)) {
    case CStartupShortcut::State::Ours:
        if (const HRESULT hr = m_startup.Remove(); FAILED(hr))
            AfxMessageBox(
                FormatResource(IDS_STARTUP_REMOVE_FAILED, {Spelled(m_startup.LinkPath()), FailureText(hr)}).c_str(),
                MB_OK | MB_ICONEXCLAMATION);
        return;
    case CStartupShortcut::State::Other:
        // Another copy's shortcut is the user's choice until the user says otherwise.
        if (AfxMessageBox(FormatResource(IDS_STARTUP_REPLACE_OTHER, {Spelled(other)}).c_str(),
                          MB_YESNO | MB_ICONQUESTION) != IDYES)
            return;
        break;
    case CStartupShortcut::State::Unreadable:
        if (AfxMessageBox(FormatResource(IDS_STARTUP_REPLACE_UNREADABLE, {Spelled(m_startup.LinkPath())}).c_str(),
                          MB_YESNO | MB_ICONQUESTION) != IDYES)
            return;
        break;
    case CStartupShortcut::State::None:
        break;
    }
    if (const HRESULT hr = m_startup.Create(m_wndTree.RootPath().Wide(), FromCodePage(m_settings.startFolder)); FAILED(hr))
        AfxMessageBox(FormatResource(IDS_STARTUP_CREATE_FAILED,
                                     {Spelled(m_startup.LinkPath().empty() ? m_startup.Folder() : m_startup.LinkPath()),
                                      FailureText(hr)})
                          .c_str(),
                      MB_OK | MB_ICONEXCLAMATION);
}

void CFernwickView::OnUpdateViewStartup(CCmdUI* pCmdUI)
{
    pCmdUI->SetCheck(m_startup.Read() == CStartupShortcut::State::Ours ? 1 : 0);
}
