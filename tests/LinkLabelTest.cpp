// The hyperlink label on real static controls of a real window, bound the way a dialog's
// data exchange binds it; the shell, process and message box calls are recorded.
#include <gtest/gtest.h>
#include <chrono>
#include <cstring>
#include <functional>
#include <string>
#include "ResourceCount.h"
#include "ShellRecorder.h"
#include "about/LinkLabel.h"

namespace {
constexpr COLORREF kLink = RGB(0, 0, 238);
constexpr COLORREF kVisited = RGB(85, 26, 139);
constexpr COLORREF kHover = RGB(255, 0, 0);
const std::string kCantOpen = "Unable to open hyperlink:\n\n";

class TestLink : public CLinkLabel {
public:
    using CLinkLabel::ReadKeyDefault;
};

std::string WindowText(HWND hWnd)
{
    char text[256] = {};
    ::GetWindowTextA(hWnd, text, sizeof text);
    return text;
}

LOGFONTA FontOf(HWND hWnd)
{
    LOGFONTA font{};
    ::GetObjectA(reinterpret_cast<HFONT>(::SendMessageA(hWnd, WM_GETFONT, 0, 0)), sizeof font, &font);
    return font;
}

struct Tip {
    HWND window = nullptr;
    TOOLINFOA tool{};
};

// The tooltip of this thread's that holds tool 1 of the label, and that tool.
Tip TipOf(HWND label)
{
    Tip found;
    found.tool.cbSize = TTTOOLINFOA_V2_SIZE;
    found.tool.hwnd = label;
    found.tool.uId = 1;
    ::EnumThreadWindows(
        ::GetCurrentThreadId(),
        [](HWND tip, LPARAM data) -> BOOL {
            auto& f = *reinterpret_cast<Tip*>(data);
            if (!::SendMessageA(tip, TTM_GETTOOLINFOA, 0, reinterpret_cast<LPARAM>(&f.tool)))
                return TRUE;
            f.window = tip;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found;
}

std::string TipText(HWND label)
{
    Tip tip = TipOf(label);
    char text[1024] = {};
    tip.tool.lpszText = text;
    ::SendMessageA(tip.window, TTM_GETTEXTA, sizeof text, reinterpret_cast<LPARAM>(&tip.tool));
    return text;
}

// The loop as the application runs it, until done() holds or the time is up.
bool PumpUntil(const std::function<bool()>& done, int milliseconds)
{
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
    for (;;) {
        MSG msg;
        while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (!CWnd::WalkPreTranslateTree(&msg)) {
                ::TranslateMessage(&msg);
                ::DispatchMessageA(&msg);
            }
        }
        if (done() || std::chrono::steady_clock::now() >= end)
            return done();
        ::Sleep(5);
    }
}

class LinkTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        RECT rect{100, 100, 600, 400};
        ASSERT_TRUE(parent.CreateEx(0, nullptr, "links", WS_POPUP | WS_VISIBLE, rect, nullptr, nullptr));
        LOGFONTA face{};
        face.lfHeight = -16;
        face.lfWeight = FW_BOLD;
        std::strcpy(face.lfFaceName, "Tahoma");
        font.reset(::CreateFontIndirectA(&face));
    }

    // A static control as a dialog template makes it, bound to link.
    HWND Attach(TestLink& link, const char* text, DWORD style = SS_LEFT, RECT at = {10, 10, 300, 40})
    {
        HWND hWnd = ::CreateWindowExA(0, "STATIC", text, WS_CHILD | WS_VISIBLE | style, at.left, at.top,
                                      at.right - at.left, at.bottom - at.top, parent.m_hWnd, nullptr, nullptr, nullptr);
        ::SendMessageA(hWnd, WM_SETFONT, reinterpret_cast<WPARAM>(font.get()), FALSE);
        EXPECT_TRUE(link.SubclassWindow(hWnd));
        return hWnd;
    }

    // The colour request the static control sends its parent before drawing its text.
    COLORREF TextColour(HWND label)
    {
        HDC dc = ::GetDC(label);
        const LRESULT brush = ::SendMessageA(parent.m_hWnd, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                                             reinterpret_cast<LPARAM>(label));
        const COLORREF colour = ::GetTextColor(dc);
        EXPECT_EQ(brush, reinterpret_cast<LRESULT>(::GetStockObject(NULL_BRUSH))) << "the label paints no background";
        EXPECT_EQ(::GetBkMode(dc), TRANSPARENT);
        ::ReleaseDC(label, dc);
        return colour;
    }

    static void Click(HWND label) { ::SendMessageA(label, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2)); }
    static void Hover(HWND label) { ::SendMessageA(label, WM_MOUSEMOVE, 0, MAKELPARAM(2, 2)); }
    static bool Underlined(HWND label) { return FontOf(label).lfUnderline != 0; }

    ShellRecorder shell;
    CWnd parent;
    UniqueFont font;
};

TEST_F(LinkTest, TextAndUrlFillEachOtherAndTheTipShowsTheUrl)
{
    TestLink emptyText, noUrl, both;
    emptyText.SetTarget("https://a.example/");
    EXPECT_EQ(emptyText.m_hWnd, nullptr) << "without its window the label only stores the URL";
    both.SetTarget("https://c.example/");
    HWND a = Attach(emptyText, "");
    HWND b = Attach(noUrl, "https://b.example/");
    HWND c = Attach(both, "Site C");
    EXPECT_EQ(WindowText(a), "https://a.example/");
    EXPECT_EQ(WindowText(c), "Site C");
    EXPECT_EQ(TipText(b), "https://b.example/");

    noUrl.SetTarget("https://new.example/");
    EXPECT_EQ(WindowText(b), "https://b.example/") << "the label keeps showing what it showed";
    EXPECT_EQ(TipText(b), "https://new.example/");
    for (HWND label : {a, b, c})
        Click(label);
    ASSERT_EQ(shell.shellExecutes.size(), 3u) << "clicks reach the label: it made itself notify";
    EXPECT_EQ(shell.shellExecutes[0].file, "https://a.example/");
    EXPECT_EQ(shell.shellExecutes[1].file, "https://new.example/");
    EXPECT_EQ(shell.shellExecutes[2].file, "https://c.example/");
    EXPECT_EQ(shell.shellExecutes[0].owner, nullptr);
    EXPECT_EQ(shell.shellExecutes[0].verb, "open");
    EXPECT_TRUE(shell.shellExecutes[0].nullDirectory);
    EXPECT_EQ(shell.shellExecutes[0].showCmd, SW_SHOW);

    const Tip tip = TipOf(a);
    RECT client;
    ::GetClientRect(a, &client);
    EXPECT_TRUE(::EqualRect(&tip.tool.rect, &client)) << "the tip covers the fitted label";
    EXPECT_EQ(tip.tool.uFlags & TTF_IDISHWND, 0u) << "the tool is named by its id";
}

TEST_F(LinkTest, HoverWearsAnUnderlinedCopyOfTheFontAndLeavingAPlainOne)
{
    TestLink link;
    HWND label = Attach(link, "Fernwick");
    EXPECT_EQ(reinterpret_cast<HFONT>(::SendMessageA(label, WM_GETFONT, 0, 0)), font.get())
        << "attaching keeps the font the label had";

    Hover(label);
    EXPECT_TRUE(Underlined(label));
    EXPECT_EQ(FontOf(label).lfHeight, -16);
    EXPECT_STREQ(FontOf(label).lfFaceName, "Tahoma");
    ::SetCursorPos(0, 0);
    EXPECT_TRUE(PumpUntil([&] { return !Underlined(label); }, 2000)) << "the pointer left";
    EXPECT_NE(reinterpret_cast<HFONT>(::SendMessageA(label, WM_GETFONT, 0, 0)), font.get()) << "a copy of its own";
    EXPECT_EQ(FontOf(label).lfWeight, FW_BOLD);
    EXPECT_STREQ(FontOf(label).lfFaceName, "Tahoma");
}

TEST_F(LinkTest, HoverClickAndLeaveAsTheColoursTellThem)
{
    TestLink link;
    HWND label = Attach(link, "Fernwick");
    RECT rect;
    ::GetWindowRect(label, &rect);
    ::SetCursorPos((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
    EXPECT_EQ(TextColour(label), kLink);
    ::PostMessageA(label, WM_MOUSEMOVE, 0, MAKELPARAM(2, 2));
    PumpUntil([] { return false; }, 350); // ticks with the pointer inside
    EXPECT_EQ(TextColour(label), kHover);
    EXPECT_TRUE(Underlined(label));

    Click(label);
    EXPECT_EQ(TextColour(label), kVisited) << "at once, though the pointer is still there";
    EXPECT_TRUE(Underlined(label)) << "until the pointer leaves";
    ::SetCursorPos(rect.left, rect.bottom + 100);
    EXPECT_TRUE(PumpUntil([&] { return !Underlined(label); }, 1000)) << "the timer ran on after the click";
    EXPECT_FALSE(::KillTimer(label, 100)) << "and ended with the hover";
    EXPECT_EQ(TextColour(label), kVisited);
    Hover(label);
    EXPECT_EQ(TextColour(label), kHover);

    shell.shellExecuteResult = SE_ERR_FNF;
    shell.winExecResult = SE_ERR_FNF; // should the system have a program for web pages
    Click(label);
    EXPECT_EQ(TextColour(label), kLink);
    EXPECT_EQ(shell.beeps, std::vector<UINT>{MB_ICONEXCLAMATION});
    ASSERT_EQ(shell.messageBoxes.size(), 1u);
    EXPECT_EQ(shell.messageBoxes[0].text, kCantOpen + "The specified file was not found.");
    EXPECT_EQ(shell.messageBoxes[0].type, static_cast<UINT>(MB_ICONEXCLAMATION | MB_OK));
}

TEST_F(LinkTest, FailuresAreToldByTheirCode)
{
    TestLink link;
    HWND label = Attach(link, "Fernwick");
    const std::pair<INT_PTR, std::string> cases[] = {
        {26, "A sharing violation occurred. "},
        {1, "Unknown Error (1) occurred."},
        {32, "The specified dynamic-link library was not found."},
        {0, "The operating system is out\nof memory or resources."},
        // Above 32 as unsigned, so the shell's answer stands; as signed, a failure.
        {-1, "Unknown Error (-1) occurred."},
    };
    for (const auto& [code, text] : cases) {
        shell.shellExecuteResult = code;
        shell.winExecResult = static_cast<UINT>(code);
        shell.messageBoxes.clear();
        Click(label);
        ASSERT_EQ(shell.messageBoxes.size(), 1u) << code;
        EXPECT_EQ(shell.messageBoxes[0].text, kCantOpen + text) << code;
    }
}

TEST_F(LinkTest, FitsItsTextKeepingItsAlignedEdgeAndCentringWithTruncation)
{
    // The text's size in the label's font with the underline, as the label measures it.
    LOGFONTA face{};
    ::GetObjectA(font.get(), sizeof face, &face);
    face.lfUnderline = TRUE;
    UniqueFont underlined(::CreateFontIndirectA(&face));
    SIZE text{};
    {
        CClientDC dc(parent.m_hWnd);
        HGDIOBJ previous = ::SelectObject(dc.m_hDC, underlined.get());
        ::GetTextExtentPoint32A(dc.m_hDC, "Fernwick", 8, &text);
        ::SelectObject(dc.m_hDC, previous);
    }
    const LONG cx = text.cx;
    const LONG cy = text.cy;
    const struct {
        DWORD style;
        RECT before, after;
    } cases[] = {
        {SS_LEFT, {20, 20, 320, 60}, {20, 20, 20 + cx, 20 + cy}},
        {SS_RIGHT, {20, 20, 320, 60}, {320 - cx, 20, 320, 20 + cy}},
        {SS_LEFT | WS_BORDER, {20, 20, 320, 60}, {20, 20, 22 + cx, 22 + cy}},
        // Text 3 wider: -3 / 2 is -1, so each edge moves out by one.
        {SS_CENTER, {20, 20, 17 + cx, 60}, {19, 20, 18 + cx, 20 + cy}},
        // Text 5 taller: -5 / 2 is -2, so the control ends one pixel short of the text.
        {SS_CENTERIMAGE, {20, 20, 320, 15 + cy}, {20, 18, 20 + cx, 17 + cy}},
        {SS_CENTERIMAGE, {20, 20, 320, 31 + cy}, {20, 25, 20 + cx, 26 + cy}},
    };
    for (const auto& c : cases) {
        TestLink link;
        HWND label = Attach(link, "Fernwick", c.style, c.before);
        RECT fitted;
        ::GetWindowRect(label, &fitted);
        ::MapWindowPoints(nullptr, parent.m_hWnd, reinterpret_cast<POINT*>(&fitted), 2);
        EXPECT_TRUE(::EqualRect(&fitted, &c.after))
            << std::hex << c.style << std::dec << ": " << fitted.left << "," << fitted.top << "," << fitted.right
            << "," << fitted.bottom;
    }
}

// This Wine maps the Windows directory's winhlp32.exe to a help viewer of its own without
// cursors, whatever file is there: only the system hand can be seen here.
TEST_F(LinkTest, ShowsTheSystemHandWhereTheHelpViewerHasNone)
{
    const int cursors = CountResources().cursors;
    {
        TestLink link;
        HWND label = Attach(link, "Fernwick");
        ::SetCursor(nullptr);
        EXPECT_TRUE(::SendMessageA(label, WM_SETCURSOR, reinterpret_cast<WPARAM>(label), HTCLIENT));
        EXPECT_EQ(::GetCursor(), ::LoadCursorA(nullptr, IDC_HAND));
    }
    EXPECT_EQ(CountResources().cursors, cursors) << "the shared hand stays";
}

// A registered program for web pages, which a failed shell open falls back to: a class of
// the test's own for ".htm". This Wine's HKEY_CLASSES_ROOT does not show the classes of
// HKEY_CURRENT_USER, so the test writes through HKEY_CLASSES_ROOT itself.
TEST_F(LinkTest, AFailedShellOpenStartsTheRegisteredProgramWithTheUrlForItsPlaceholder)
{
    HKEY existing = nullptr;
    if (::RegOpenKeyExA(HKEY_CLASSES_ROOT, ".htm", 0, KEY_QUERY_VALUE, &existing) == ERROR_SUCCESS) {
        ::RegCloseKey(existing);
        GTEST_SKIP() << "this system has a program for web pages";
    }
    auto setDefault = [](const char* key, const std::string& value) {
        ::RegSetKeyValueA(HKEY_CLASSES_ROOT, key, nullptr, REG_SZ, value.c_str(), static_cast<DWORD>(value.size() + 1));
    };
    setDefault(".htm", "FernwickTestPage");
    setDefault("FernwickTestPage\\shell\\open\\command", "\"C:\\Browser\\b.exe\" -new \"%1\" -tail");
    TestLink link;
    HWND label = Attach(link, "https://fernwick.example.org/");
    shell.shellExecuteResult = SE_ERR_NOASSOC;
    Click(label);
    EXPECT_EQ(shell.winExecs, std::vector<std::string>{"\"C:\\Browser\\b.exe\" -new  https://fernwick.example.org/"});
    EXPECT_EQ(TextColour(label), kVisited) << "the started program's result counts";

    shell.winExecResult = SE_ERR_PNF;
    Click(label);
    link.SetTarget("https://fernwick.example.org/" + std::string(500, 'x')); // no room in the command line
    Click(label);
    EXPECT_EQ(shell.winExecs.size(), 2u);
    ::RegDeleteTreeA(HKEY_CLASSES_ROOT, "FernwickTestPage\\shell");
    Click(label);
    ::RegDeleteTreeA(HKEY_CLASSES_ROOT, ".htm");
    ::RegDeleteTreeA(HKEY_CLASSES_ROOT, "FernwickTestPage");
    EXPECT_EQ(shell.winExecs.size(), 2u);
    ASSERT_EQ(shell.messageBoxes.size(), 3u);
    EXPECT_EQ(shell.messageBoxes[0].text, kCantOpen + "The specified path was not found.") << "the program's code";
    EXPECT_EQ(shell.messageBoxes[1].text, kCantOpen + "There was not enough memory to complete the operation.");
    EXPECT_EQ(shell.messageBoxes[2].text,
              kCantOpen + "There is no application associated\nwith the given filename extension.")
        << "no open command: the shell's code";
}

TEST(ReadKeyDefaultTest, OnlyATextThatFitsTwoHundredSixtyBytesIsRead)
{
    const char* root = "Software\\FernwickLinkTest";
    auto set = [&](const char* name, DWORD type, const void* data, DWORD size) {
        ::RegSetKeyValueA(HKEY_CURRENT_USER, (std::string(root) + '\\' + name).c_str(), nullptr, type, data, size);
    };
    const DWORD number = 7;
    set("fits", REG_SZ, std::string(259, 'a').c_str(), 260);
    set("long", REG_SZ, std::string(260, 'a').c_str(), 261);
    set("unterminated", REG_SZ, std::string(260, 'b').data(), 260);
    set("number", REG_DWORD, &number, sizeof number);
    HKEY noValue = nullptr;
    ::RegCreateKeyExA(HKEY_CURRENT_USER, (std::string(root) + "\\novalue").c_str(), 0, nullptr, 0, KEY_READ, nullptr,
                      &noValue, nullptr);
    ::RegCloseKey(noValue);

    std::string out = "before";
    for (const char* unreadable : {"missing", "long", "unterminated", "number", "novalue"})
        EXPECT_NE(TestLink::ReadKeyDefault(HKEY_CURRENT_USER, (std::string(root) + '\\' + unreadable).c_str(), out),
                  ERROR_SUCCESS)
            << unreadable;
    EXPECT_EQ(out, "before");
    EXPECT_EQ(TestLink::ReadKeyDefault(HKEY_CURRENT_USER, (std::string(root) + "\\fits").c_str(), out), ERROR_SUCCESS);
    EXPECT_EQ(out, std::string(259, 'a'));
    ::RegDeleteTreeA(HKEY_CURRENT_USER, root);
}
} // namespace
