// An item dragged out of the tree, the search results or a tray submenu with the real mouse
// (input from another thread while the program's thread runs the drag) arrives at a drop
// target of the test's own as the file.
#include "AppFixture.h"
#include <atomic>
#include <thread>
#include <shlobj.h>
#include <shellapi.h>
#include "AlertableWait.h"
#include "MouseInput.h"
#include "ShellRecorder.h"
#include "Shortcut.h"

namespace {
// Takes files, as a program window registered for drops does; records the first one.
class RecordingDropTarget : public IDropTarget {
public:
    std::wstring dropped;
    bool entered = false;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override
    {
        if (riid == IID_IUnknown || riid == IID_IDropTarget) {
            *object = static_cast<IDropTarget*>(this);
            AddRef();
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++m_refs; }
    ULONG STDMETHODCALLTYPE Release() override { return --m_refs; }
    HRESULT STDMETHODCALLTYPE DragEnter(IDataObject* data, DWORD, POINTL, DWORD* effect) override
    {
        FORMATETC format{CF_HDROP, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
        entered = true;
        *effect = data->QueryGetData(&format) == S_OK ? (*effect & DROPEFFECT_COPY) : DROPEFFECT_NONE;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE DragOver(DWORD, POINTL, DWORD* effect) override
    {
        *effect &= DROPEFFECT_COPY;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE DragLeave() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE Drop(IDataObject* data, DWORD, POINTL, DWORD* effect) override
    {
        FORMATETC format{CF_HDROP, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
        STGMEDIUM medium{};
        if (SUCCEEDED(data->GetData(&format, &medium))) {
            wchar_t path[MAX_PATH] = L"";
            ::DragQueryFileW(static_cast<HDROP>(medium.hGlobal), 0, path, MAX_PATH);
            dropped = path;
            ::ReleaseStgMedium(&medium);
        }
        *effect = DROPEFFECT_COPY;
        return S_OK;
    }

private:
    ULONG m_refs = 1;
};

// Whether a control told its parent a drag began (the tree's or the list's notification), as
// the parent's window procedure saw it.
std::atomic<bool> g_dragBegan{false};
LRESULT CALLBACK SeeBeginDrag(int code, WPARAM wParam, LPARAM lParam)
{
    const auto* call = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (code == HC_ACTION && call->message == WM_NOTIFY) {
        const UINT notification = reinterpret_cast<const NMHDR*>(call->lParam)->code;
        if (notification == static_cast<UINT>(TVN_BEGINDRAGA) || notification == static_cast<UINT>(LVN_BEGINDRAG))
            g_dragBegan = true;
    }
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

// Whether that thread is in a drag: the drag loop holds the mouse.
bool HoldsTheMouse(DWORD thread)
{
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    return ::GetGUIThreadInfo(thread, &info) && info.hwndCapture != nullptr;
}

class DragOutTest : public AppFixture {
protected:
    void StartShown()
    {
        Start(SW_SHOWNORMAL);
        ForceForegroundWindow(Frame());
        RECT frame{};
        ::GetWindowRect(Frame(), &frame);
        // SS_NOTIFY: a plain static window lets the mouse through, and the drag looks beneath it.
        m_window = ::CreateWindowExA(WS_EX_TOPMOST, "STATIC", "drop here", WS_POPUP | WS_VISIBLE | WS_BORDER | SS_NOTIFY,
                                     frame.right + 40, frame.top, 240, 200, nullptr, nullptr, nullptr, nullptr);
        ASSERT_NE(m_window, nullptr);
        ASSERT_EQ(::RegisterDragDrop(m_window, &target), S_OK);
        to = POINT{frame.right + 40 + 120, frame.top + 100};
    }
    void TearDown() override
    {
        if (m_window != nullptr) {
            ::RevokeDragDrop(m_window);
            ::DestroyWindow(m_window);
        }
        AppFixture::TearDown();
    }
    // The left button pressed at from and the mouse moved onto the drop window in steps, from
    // another thread; the drag goes on once began() holds. held: what the program's thread
    // does with the button down (the drag itself, where nothing of the program starts one).
    void DragFrom(POINT from, const std::function<bool()>& began, const std::function<void()>& held = {})
    {
        std::atomic<bool> down{false}, done{false};
        g_dragBegan = false;
        HHOOK hook = ::SetWindowsHookExA(WH_CALLWNDPROC, SeeBeginDrag, nullptr, ::GetCurrentThreadId());
        std::thread hand([&] {
            MouseInput(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE, from);
            ::Sleep(200);
            MouseInput(MOUSEEVENTF_LEFTDOWN);
            down = true;
            ::Sleep(200);
            // A few pixels start the drag; the rest of the way only once the program's thread,
            // slow under load, runs it.
            for (int step = 1; step <= 20; ++step) {
                if (step == 3)
                    m_began = WaitFor(began, 10000);
                if (step == 4)
                    ::Sleep(500);
                MouseInput(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE,
                           POINT{from.x + (to.x - from.x) * step / 20, from.y + (to.y - from.y) * step / 20});
                ::Sleep(100);
            }
            ::Sleep(500);
            MouseInput(MOUSEEVENTF_LEFTUP);
            done = true;
        });
        if (held) {
            WaitFor([&] { return down.load(); });
            held();
        }
        m_dropped = WaitAlertably([&] { return !target.dropped.empty(); }, 15000);
        hand.join();
        WaitAlertably([&] { return done.load(); }, 1000);
        ::UnhookWindowsHookEx(hook);
    }
    void ExpectDropped(const std::wstring& path)
    {
        EXPECT_TRUE(target.entered) << "the drag reached the drop window";
        EXPECT_TRUE(m_dropped);
        EXPECT_EQ(target.dropped, path) << "the file itself, by its full path";
    }

    RecordingDropTarget target;
    POINT to{};
    bool m_began = false;
    bool m_dropped = false;

private:
    HWND m_window = nullptr;
};

TEST_F(DragOutTest, AShortcutDraggedOntoAProgramWindowArrivesAsItsFileAndNothingIsLaunched)
{
    folder.MakeFile("Root\\notes.txt");
    ASSERT_TRUE(MakeShortcut(root + "\\My Mail.lnk", root + "\\notes.txt", ""));
    ShellRecorder shell;
    StartShown();
    RECT text{};
    ASSERT_TRUE(Tree().GetItemRect(Item("My Mail"), &text, TRUE));
    POINT from = Center(text);
    ::ClientToScreen(Tree().m_hWnd, &from);
    DragFrom(from, [] { return g_dragBegan.load(); });
    EXPECT_TRUE(m_began) << "the tree began a drag";
    EXPECT_TRUE(shell.shellExecutes.empty() && shell.processes.empty()) << "a drag launches nothing";
    EXPECT_NE(::GetFileAttributesA((root + "\\My Mail.lnk").c_str()), INVALID_FILE_ATTRIBUTES) << "still there";
    ExpectDropped(FromCodePage(root) + L"\\My Mail.lnk");
}

TEST_F(DragOutTest, ASearchResultDraggedOutGoesAsItsFileAndNothingIsLaunched)
{
    folder.MakeFile("Root\\Docs\\report.txt");
    ShellRecorder shell;
    StartShown();
    SearchFor(L"report");
    const CFindPanel& panel = View().m_finder.m_panel;
    POINT from = OnlyResultOnScreen();
    ASSERT_GE(from.x, 0) << "one result";
    DragFrom(from, [] { return g_dragBegan.load(); });
    EXPECT_TRUE(m_began) << "the list began a drag";
    EXPECT_TRUE(shell.shellExecutes.empty() && shell.wideProcesses.empty()) << "a drag launches nothing";
    EXPECT_TRUE(panel.IsWindowVisible()) << "the search goes on";
    ExpectDropped(FromCodePage(root) + L"\\Docs\\report.txt");
}

// This Wine's menus never send WM_MENUDRAG (its menu loop has no drag): the message is sent as
// Windows sends it, for an item of the open tray menu while the left button is down.
TEST_F(DragOutTest, ATrayEntryDraggedFromItsSubmenuGoesAsItsFileAndTheMenusOwnItemsStay)
{
    folder.MakeFile("Root\\Docs\\report.txt");
    ShellRecorder shell;
    StartShown();
    LRESULT own = -1, entry = -1;
    shell.onPopup = [&](const TrackPopupCall& popup) {
        HMENU docs = ::GetSubMenu(popup.menu, 0);
        ::SendMessageA(popup.owner, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(docs), 0);
        own = ::SendMessageA(popup.owner, WM_MENUDRAG, static_cast<WPARAM>(::GetMenuItemCount(popup.menu) - 1),
                             reinterpret_cast<LPARAM>(popup.menu));
        // Pressed on the drop window itself, where the button starts nothing of the program's.
        DragFrom(POINT{to.x - 100, to.y}, [&] { return HoldsTheMouse(::GetWindowThreadProcessId(Frame(), nullptr)); },
                 [&] {
                     // The button's press reaches the thread's key state, as in a menu loop.
                     WaitAlertably([] { return ::GetKeyState(VK_LBUTTON) < 0; }, 2000);
                     entry = ::SendMessageA(popup.owner, WM_MENUDRAG, 0, reinterpret_cast<LPARAM>(docs));
                 });
        return FALSE;
    };
    ::SendMessageA(View().m_hWnd, WM_TRAYNOTIFY, 1, WM_RBUTTONUP);
    EXPECT_EQ(own, static_cast<LRESULT>(MND_CONTINUE)) << "the program's own items are not dragged";
    EXPECT_TRUE(m_began) << "the entry's drag held the mouse";
    EXPECT_EQ(entry, static_cast<LRESULT>(MND_ENDMENU)) << "dropped, the menu has done its work";
    EXPECT_TRUE(shell.shellExecutes.empty()) << "a drag launches nothing";
    ExpectDropped(FromCodePage(root) + L"\\Docs\\report.txt");
}
} // namespace
