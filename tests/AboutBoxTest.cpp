// The About box as the user meets it: shown modally and driven from inside its own loop.
#include <gtest/gtest.h>
#include "Version.h"
#include <string>
#include "ModalScript.h"
#include "ResourceCount.h"
#include "ShellRecorder.h"
#include "about/AboutBox.h"
#include "app/FernwickApp.h"
#include "ScaleChange.h"
#include "framework/Dpi.h"
#include "res/resource.h"

namespace {
constexpr COLORREF kLink = RGB(0, 0, 238);
constexpr COLORREF kVisited = RGB(85, 26, 139);
constexpr COLORREF kHover = RGB(255, 0, 0);

std::string ItemText(HWND hDlg, int id)
{
    char text[256] = {};
    ::GetDlgItemTextA(hDlg, id, text, sizeof text);
    return text;
}

// The colour the link's text gets when the static control asks its dialog.
COLORREF LinkColour(HWND hDlg)
{
    HWND link = ::GetDlgItem(hDlg, IDC_LINK);
    HDC dc = ::GetDC(link);
    ::SendMessageA(hDlg, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(link));
    const COLORREF colour = ::GetTextColor(dc);
    ::ReleaseDC(link, dc);
    return colour;
}

// A control's rectangle in its dialog's client coordinates.
RECT ItemRect(HWND hDlg, int id)
{
    RECT rect = WindowRect(::GetDlgItem(hDlg, id));
    ::MapWindowPoints(nullptr, hDlg, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

LONG IconWidth(HWND hDlg)
{
    ICONINFO info{};
    BITMAP bitmap{};
    if (::GetIconInfo(reinterpret_cast<HICON>(::SendMessageA(::GetWindow(hDlg, GW_CHILD), STM_GETICON, 0, 0)), &info)) {
        ::GetObjectA(info.hbmColor, sizeof bitmap, &bitmap);
        ::DeleteObject(info.hbmColor);
        ::DeleteObject(info.hbmMask);
    }
    return bitmap.bmWidth;
}

void ClickLink(HWND hDlg)
{
    ::SendMessageA(::GetDlgItem(hDlg, IDC_LINK), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
}

TEST(AboutBoxTest, TheApplicationsAboutCommandTellsNameVersionAndCopyright)
{
    CFernwickApp app;
    RunModal(
        [&] {
            app.ShowAboutBox();
            return INT_PTR{0};
        },
        {[](HWND hDlg) {
            EXPECT_EQ(ItemText(hDlg, IDC_VERSION), "Fernwick Version " FERNWICK_VERSION);
            EXPECT_EQ(ItemText(hDlg, IDC_COPYRIGHT), "Copyright (C) 2026 The Fernwick developers");
            EXPECT_EQ(ItemText(hDlg, IDC_LINK), FERNWICK_WEB_PAGE);
            EXPECT_NE(CWnd::FromHandlePermanent(::GetDlgItem(hDlg, IDC_LINK)), nullptr) << "bound to the label";
            EXPECT_NE(::GetDlgItem(hDlg, IDC_SITE_NAME), nullptr);
            EXPECT_NE(::SendMessageA(::GetWindow(hDlg, GW_CHILD), STM_GETICON, 0, 0), 0) << "the icon comes first";
            EXPECT_EQ(::GetFocus(), ::GetDlgItem(hDlg, IDOK));
            PostKey(hDlg, VK_ESCAPE);
        }});
}

TEST(AboutBoxTest, OkEnterEscAndTheCloseBoxEachEndIt)
{
    const std::pair<ModalStep, INT_PTR> ways[] = {
        {[](HWND hDlg) { ::PostMessageA(::GetDlgItem(hDlg, IDOK), BM_CLICK, 0, 0); }, IDOK},
        {[](HWND hDlg) { PostKey(hDlg, VK_RETURN); }, IDOK},
        {[](HWND hDlg) { PostKey(hDlg, VK_ESCAPE); }, IDCANCEL},
        {[](HWND hDlg) { ::PostMessageA(hDlg, WM_SYSCOMMAND, SC_CLOSE, 0); }, IDCANCEL},
    };
    for (const auto& [way, expected] : ways) {
        CAboutBox box;
        EXPECT_EQ(RunModal([&] { return box.DoModal(); }, {way}), expected);
        EXPECT_EQ(box.m_hWnd, nullptr);
    }
}

TEST(AboutBoxTest, TheLinkOpensFromTheBoxWhichStaysOpenOverItsDisabledOwner)
{
    ShellRecorder shell;
    CWinApp app;
    CWnd main;
    RECT rect{0, 0, 400, 300};
    ASSERT_TRUE(main.CreateEx(0, nullptr, "main", WS_OVERLAPPEDWINDOW | WS_VISIBLE, rect, nullptr, nullptr));
    app.m_pMainWnd = &main;
    // Off the box: a pointer another suite left over the link would show it hovered.
    ::SetCursorPos(::GetSystemMetrics(SM_CXSCREEN) - 1, ::GetSystemMetrics(SM_CYSCREEN) - 1);
    for (int round = 0; round < 2; ++round) {
        CAboutBox box;
        RunModal([&] { return box.DoModal(); }, {[&](HWND hDlg) {
                     EXPECT_EQ(::GetWindow(hDlg, GW_OWNER), main.m_hWnd);
                     EXPECT_FALSE(::IsWindowEnabled(main.m_hWnd));
                     EXPECT_EQ(LinkColour(hDlg), kLink) << "every box starts unvisited";
                     ClickLink(hDlg);
                     EXPECT_EQ(LinkColour(hDlg), kVisited);
                     shell.shellExecuteResult = SE_ERR_ACCESSDENIED;
                     shell.winExecResult = SE_ERR_ACCESSDENIED;
                     ClickLink(hDlg);
                     shell.shellExecuteResult = 42;
                     ASSERT_EQ(shell.messageBoxes.size(), 1u);
                     EXPECT_EQ(shell.messageBoxes[0].owner, hDlg);
                     shell.messageBoxes.clear();
                     ClickLink(hDlg);
                     PostKey(hDlg, VK_ESCAPE);
                 }});
        EXPECT_TRUE(::IsWindowEnabled(main.m_hWnd));
    }
    EXPECT_EQ(shell.shellExecutes.size(), 6u);
    EXPECT_EQ(shell.shellExecutes[0].file, FERNWICK_WEB_PAGE);
    app.m_pMainWnd = nullptr;
}

TEST(AboutBoxTest, AtTwiceTheScaleTheBoxItsFontsLinkAndIconGrowThenComeBackAsTheyWere)
{
    const UINT dpi = AfxGetSystemDpi();
    ShellRecorder shell;
    CAboutBox box;
    RunModal([&] { return box.DoModal(); }, {[&](HWND hDlg) {
                 HWND link = ::GetDlgItem(hDlg, IDC_LINK);
                 const RECT window = WindowRect(hDlg), ok = ItemRect(hDlg, IDOK), label = ItemRect(hDlg, IDC_LINK);
                 const LONG text = FontHeight(::GetDlgItem(hDlg, IDC_VERSION)), icon = IconWidth(hDlg);
                 const RECT twice{window.left, window.top, 2 * window.right - window.left, 2 * window.bottom - window.top};
                 ChangeScale(hDlg, 2 * dpi, twice);
                 EXPECT_TRUE(SameRect(WindowRect(hDlg), twice)) << "the rectangle Windows suggests";
                 EXPECT_TRUE(SameRect(ItemRect(hDlg, IDOK), RECT{2 * ok.left, 2 * ok.top, 2 * ok.right, 2 * ok.bottom}));
                 EXPECT_EQ(FontHeight(::GetDlgItem(hDlg, IDC_VERSION)), 2 * text);
                 EXPECT_EQ(FontHeight(link), 2 * text);
                 const RECT big = ItemRect(hDlg, IDC_LINK);
                 EXPECT_EQ(big.left, 2 * label.left);
                 const LONG width = label.right - label.left;
                 EXPECT_GT(big.right - big.left, 2 * width * 9 / 10) << "fitted to its text at that size";
                 EXPECT_LT(big.right - big.left, 2 * width * 11 / 10);
                 EXPECT_EQ(IconWidth(hDlg), 2 * icon);
                 RECT client, update{};
                 ::GetClientRect(link, &client);
                 ::GetUpdateRect(link, &update, FALSE);
                 EXPECT_TRUE(SameRect(update, client)) << "all of it drawn anew at its new size";
                 ::SendMessageA(link, WM_MOUSEMOVE, 0, MAKELPARAM(2, 2));
                 EXPECT_EQ(FontHeight(link), 2 * text) << "hovered: the underlined font of that scale";

                 ChangeScale(hDlg, dpi, window);
                 EXPECT_TRUE(SameRect(ItemRect(hDlg, IDOK), ok));
                 EXPECT_TRUE(SameRect(ItemRect(hDlg, IDC_LINK), label));
                 EXPECT_EQ(FontHeight(link), text);
                 EXPECT_EQ(IconWidth(hDlg), icon);
                 ClickLink(hDlg);
                 EXPECT_EQ(LinkColour(hDlg), kVisited) << "the link still works";
                 PostKey(hDlg, VK_ESCAPE);
             }});
}

TEST(AboutBoxTest, UnderThePointerTheLinkHoversAndItsTipAppears)
{
    CAboutBox box;
    bool shown = false;
    std::vector<ModalStep> steps{[](HWND hDlg) {
        RECT link;
        ::GetWindowRect(::GetDlgItem(hDlg, IDC_LINK), &link);
        ::SetCursorPos((link.left + link.right) / 2, (link.top + link.bottom) / 2);
        ::PostMessageA(::GetDlgItem(hDlg, IDC_LINK), WM_MOUSEMOVE, 0, MAKELPARAM(2, 2));
    }};
    for (int tick = 0; tick < 75; ++tick) { // the tip's delay, and more
        steps.push_back([&](HWND) {
            ::EnumThreadWindows(
                ::GetCurrentThreadId(),
                [](HWND hWnd, LPARAM data) -> BOOL {
                    char name[32] = {};
                    ::GetClassNameA(hWnd, name, sizeof name);
                    if (std::string(name) == TOOLTIPS_CLASSA && ::IsWindowVisible(hWnd))
                        *reinterpret_cast<bool*>(data) = true;
                    return TRUE;
                },
                reinterpret_cast<LPARAM>(&shown));
        });
    }
    steps.push_back([](HWND hDlg) {
        EXPECT_EQ(LinkColour(hDlg), kHover);
        PostKey(hDlg, VK_ESCAPE);
    });
    RunModal([&] { return box.DoModal(); }, std::move(steps));
    EXPECT_TRUE(shown) << "the label relays the mouse to its tip from the dialog's loop";
}

TEST(ResourceCountTest, CountsOneOfEachKindMadeAndFreed)
{
    // The system adds objects of its own to a thread's first window and the first use of
    // each kind: one window stays, and a first round goes before the count.
    CWnd anchor;
    RECT rect{0, 0, 10, 10};
    ASSERT_TRUE(anchor.CreateEx(0, nullptr, "anchor", WS_POPUP, rect, nullptr, nullptr));
    ResourceCount before, during;
    for (int round = 0; round < 2; ++round) {
        before = CountResources();
        CWnd window;
        window.CreateEx(0, nullptr, "w", WS_POPUP, rect, nullptr, nullptr);
        ::CreateWindowExA(0, "STATIC", "", WS_CHILD, 0, 0, 1, 1, window.m_hWnd, nullptr, nullptr, nullptr);
        UniqueKernelHandle event(::CreateEventA(nullptr, FALSE, FALSE, nullptr));
        UniqueMenu menu(::CreatePopupMenu());
        LOGFONTA face{};
        UniqueFont font(::CreateFontIndirectA(&face));
        UniqueCursor cursor(static_cast<HCURSOR>(::CopyIcon(::LoadCursorA(nullptr, IDC_ARROW))));
        during = CountResources();
    }
    const ResourceCount after = CountResources();
    EXPECT_EQ(during.kernelHandles, before.kernelHandles + 1);
    EXPECT_EQ(during.windows, before.windows + 2);
    EXPECT_EQ(during.menus, before.menus + 1);
    EXPECT_EQ(during.fonts, before.fonts + 1);
    EXPECT_GT(during.gdiObjects, before.gdiObjects + 1) << "the font and the cursor's bitmaps";
    EXPECT_EQ(during.cursors, before.cursors + 1);
    EXPECT_EQ(after, before);
}
} // namespace
