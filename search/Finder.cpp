#include "search/Finder.h"

namespace {
// One slice of the index's work; the messages that came meanwhile go first after it. While a
// find box is shown a key typed meanwhile waits for the slice to end: slices are shorter then.
constexpr double kSliceMs = 12.0;
constexpr double kTypingSliceMs = 3.0;
// While the index is built, the shown results follow it this often.
constexpr ULONGLONG kBuildRefreshMs = 250;
constexpr UINT WM_FIND_STEP = WM_APP + 40;
constexpr UINT_PTR kStepTimer = 1;
// A new root's index waits this long: started at once, it would list every folder again
// while the program starts and the tree lists the same ones.
constexpr UINT kFirstBuildDelayMs = 2000;
constexpr UINT_PTR kFirstBuildTimer = 2;
} // namespace

BOOL CFinder::Create(HWND parent, UINT panelId)
{
    const RECT empty{0, 0, 0, 0};
    if (!CreateEx(0, nullptr, "", 0, empty, HWND_MESSAGE, nullptr))
        return FALSE;
    m_panelParent = parent;
    m_panelId = panelId;
    // A search begun before the index is under way starts it.
    m_panel.onIndexWork = [this] { BuildNow(); };
    m_window.m_panel.onIndexWork = [this] { BuildNow(); };
    return TRUE;
}

BOOL CFinder::MakePanel()
{
    return m_panel.m_hWnd != nullptr || m_panel.Create(m_panelParent, m_panelId);
}

void CFinder::SetRoot(const std::wstring& root)
{
    std::wstring given = root;
    if (!given.empty() && given.back() != L'\\')
        given += L'\\';
    if (given == m_index.Root()) {
        m_index.RootChanged();
        Wake();
        return;
    }
    m_index.Reset(given);
    m_buildDeferred = m_hWnd != nullptr && !given.empty();
    if (m_buildDeferred)
        SetTimer(kFirstBuildTimer, kFirstBuildDelayMs);
}

void CFinder::BuildNow()
{
    if (m_buildDeferred) {
        m_buildDeferred = false;
        KillTimer(kFirstBuildTimer);
    }
    Wake();
}

void CFinder::FolderChanged(std::wstring_view relative)
{
    m_index.FolderChanged(relative);
    Wake();
}

void CFinder::RootChanged()
{
    m_index.RootChanged();
    Wake();
}

void CFinder::Wake()
{
    if (m_stepping || m_buildDeferred || m_hWnd == nullptr || !m_index.Busy())
        return;
    m_stepping = true;
    ::PostMessageW(m_hWnd, WM_FIND_STEP, 0, 0);
}

void CFinder::OnStep()
{
    const auto shown = [](const CFindPanel& panel) {
        return panel.m_hWnd != nullptr && ::IsWindowVisible(panel.m_hWnd);
    };
    const bool busy = m_index.Step(shown(m_panel) || shown(m_window.m_panel) ? kTypingSliceMs : kSliceMs);
    const ULONGLONG now = ::GetTickCount64();
    if (m_index.Generation() != m_shownGeneration && (!m_index.Building() || now - m_lastShown >= kBuildRefreshMs)) {
        m_shownGeneration = m_index.Generation();
        m_lastShown = now;
        for (CFindPanel* panel : {&m_panel, &m_window.m_panel})
            if (shown(*panel))
                panel->Refresh();
    }
    m_stepping = busy;
    if (!busy)
        return;
    // A posted message comes before input and paint: with either waiting, the next slice
    // waits for a timer, which comes after both. Otherwise a window shown or a list filled
    // stays unpainted until the whole check is done.
    if (HIWORD(::GetQueueStatus(QS_INPUT | QS_PAINT)) != 0)
        SetTimer(kStepTimer, 1);
    else
        ::PostMessageW(m_hWnd, WM_FIND_STEP, 0, 0);
}

LRESULT CFinder::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_FIND_STEP:
        OnStep();
        return 0;
    case WM_TIMER:
        if (wParam == kFirstBuildTimer) {
            BuildNow();
            return 0;
        }
        if (wParam == kStepTimer) {
            KillTimer(kStepTimer);
            OnStep();
            return 0;
        }
        break;
    }
    return CWnd::WindowProc(message, wParam, lParam);
}
