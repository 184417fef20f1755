// Notifications a child sends to its parent are offered to the child's own handler first.
#include <gtest/gtest.h>
#include "Recorder.h"
#include "framework/Wnd.h"

namespace {
Recorder g_log;
constexpr UINT kChildId = 7;
constexpr UINT kOwnCode = 1;   // the child handles it
constexpr UINT kOtherCode = 2; // only the parent does

class Child : public CWnd {
public:
    HBRUSH brush = nullptr;

protected:
    BOOL OnReflect(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override
    {
        switch (message) {
        case WM_NOTIFY:
            if (reinterpret_cast<NMHDR*>(lParam)->code != kOwnCode)
                return FALSE;
            g_log.Add("child notify");
            *pResult = 42;
            return TRUE;
        case WM_COMMAND:
            if (HIWORD(wParam) != kOwnCode)
                return FALSE;
            g_log.Add("child command");
            return TRUE;
        case WM_CTLCOLORSTATIC:
            g_log.Add("child colour");
            *pResult = reinterpret_cast<LRESULT>(brush);
            return brush != nullptr;
        }
        return FALSE;
    }
};

class Parent : public CWnd {
protected:
    BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) override
    {
        auto* header = reinterpret_cast<NMHDR*>(lParam);
        g_log.Add("parent notify " + std::to_string(wParam) + "/" + std::to_string(header->code));
        *pResult = 7;
        return TRUE;
    }
    BOOL OnCmdMsg(UINT nID, int nCode, void*, AFX_CMDHANDLERINFO*) override
    {
        g_log.Add("parent command " + std::to_string(nID) + "/" + std::to_string(nCode));
        return TRUE;
    }
};

class ReflectionTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        g_log.Clear();
        RECT rect{0, 0, 200, 100};
        ASSERT_TRUE(parent.CreateEx(0, nullptr, "parent", WS_POPUP, rect, nullptr, nullptr));
        RECT childRect{0, 0, 50, 20};
        ASSERT_TRUE(child.Create(nullptr, nullptr, WS_CHILD, childRect, &parent, kChildId));
    }

    LRESULT Notify(UINT code)
    {
        NMHDR header{child.m_hWnd, kChildId, code};
        return parent.SendMessage(WM_NOTIFY, kChildId, reinterpret_cast<LPARAM>(&header));
    }

    Parent parent;
    Child child;
};

TEST_F(ReflectionTest, ChildsOwnNotificationHandlerWinsWithItsResult)
{
    EXPECT_EQ(Notify(kOwnCode), 42);
    EXPECT_EQ(g_log.events, (std::vector<std::string>{"child notify"}));
}

TEST_F(ReflectionTest, WithoutAChildHandlerTheParentRoutesByIdAndCode)
{
    EXPECT_EQ(Notify(kOtherCode), 7);
    EXPECT_EQ(g_log.events, (std::vector<std::string>{"parent notify 7/2"}));
}

TEST_F(ReflectionTest, ControlCommandsAreReflectedLikewise)
{
    parent.SendMessage(WM_COMMAND, MAKEWPARAM(kChildId, kOwnCode), reinterpret_cast<LPARAM>(child.m_hWnd));
    parent.SendMessage(WM_COMMAND, MAKEWPARAM(kChildId, kOtherCode), reinterpret_cast<LPARAM>(child.m_hWnd));
    EXPECT_EQ(g_log.events, (std::vector<std::string>{"child command", "parent command 7/2"}));
}

TEST_F(ReflectionTest, ColourRequestEndsAtTheChildOnlyWhenItReturnsABrush)
{
    HDC dc = ::GetDC(child.m_hWnd);
    LRESULT none = parent.SendMessage(WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                                      reinterpret_cast<LPARAM>(child.m_hWnd));
    child.brush = static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH));
    LRESULT own = parent.SendMessage(WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                                     reinterpret_cast<LPARAM>(child.m_hWnd));
    ::ReleaseDC(child.m_hWnd, dc);
    EXPECT_EQ(own, reinterpret_cast<LRESULT>(child.brush));
    EXPECT_NE(none, reinterpret_cast<LRESULT>(child.brush)) << "the parent's default answer";
    EXPECT_EQ(g_log.events, (std::vector<std::string>{"child colour", "child colour"}));
}

TEST_F(ReflectionTest, UnboundChildNotificationsGoToTheParent)
{
    HWND plain = ::CreateWindowExA(0, "STATIC", "", WS_CHILD, 0, 0, 10, 10, parent.m_hWnd, nullptr, nullptr, nullptr);
    NMHDR header{plain, 9, kOwnCode};
    EXPECT_EQ(parent.SendMessage(WM_NOTIFY, 9, reinterpret_cast<LPARAM>(&header)), 7);
    EXPECT_EQ(g_log.events, (std::vector<std::string>{"parent notify 9/1"}));
}

// A control the framework takes over keeps the character set of its messages both ways: its
// handler and its own procedure see the text as sent, and destroyed, it lets go of the object.
class TextWatcher : public CWnd {
public:
    std::wstring seen;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_SETTEXT)
            seen = reinterpret_cast<const wchar_t*>(lParam);
        return CWnd::WindowProc(message, wParam, lParam);
    }
};

TEST(SubclassTest, AUnicodeControlTakenOverKeepsWhatTheCodePageCannotSpell)
{
    const wchar_t text[] = L"Caf\u00e9 \ud55c";
    TextWatcher watcher;
    HWND edit = ::CreateWindowExW(0, L"EDIT", L"", WS_POPUP, 0, 0, 100, 20, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(edit, nullptr);
    ASSERT_TRUE(watcher.SubclassWindow(edit));
    ::SendMessageW(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
    EXPECT_EQ(watcher.seen, text);
    wchar_t back[32] = {};
    ::GetWindowTextW(edit, back, 32);
    EXPECT_STREQ(back, text);
    ::DestroyWindow(edit);
    EXPECT_EQ(watcher.m_hWnd, nullptr);
    EXPECT_EQ(CWnd::FromHandlePermanent(edit), nullptr);
}
} // namespace
