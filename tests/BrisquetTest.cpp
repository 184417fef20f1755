// Starts Brisquet.exe as a process of its own with good and bad shortcuts and watches its windows.
#include <windows.h>
#include <commctrl.h>
#include <exdisp.h>
#include <objbase.h>
#include <shlobj.h>
#include <gtest/gtest.h>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>
#include "ChildProcess.h"
#include "TempFolder.h"
#include "TestHelpers.h"
#include "framework/ComPtr.h"
#include "framework/Handles.h"
#include "tools/brisquet/resource.h"

namespace {
constexpr DWORD kTimeoutMs = kTestTimeoutMs;

// The first top-level window (or, with a parent, child window) that match() accepts.
template <class Match>
HWND FindWindowWhere(Match match, HWND parent = nullptr)
{
    struct Search {
        Match& match;
        HWND found;
    } search{match, nullptr};
    const WNDENUMPROC visit = [](HWND hwnd, LPARAM lParam) -> BOOL {
        auto* s = reinterpret_cast<Search*>(lParam);
        if (s->match(hwnd))
            s->found = hwnd;
        return s->found == nullptr;
    };
    if (parent != nullptr)
        ::EnumChildWindows(parent, visit, reinterpret_cast<LPARAM>(&search));
    else
        ::EnumWindows(visit, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

std::string WindowText(HWND hwnd)
{
    std::string text(static_cast<size_t>(::GetWindowTextLengthA(hwnd)) + 1, '\0');
    text.resize(static_cast<size_t>(::GetWindowTextA(hwnd, text.data(), static_cast<int>(text.size()))));
    return text;
}

std::string ClassName(HWND hwnd)
{
    char name[64] = "";
    ::GetClassNameA(hwnd, name, sizeof name);
    return name;
}

std::string BrisquetPath()
{
    char path[MAX_PATH] = "";
    ::GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string dir = path;
    return dir.substr(0, dir.rfind('\\') + 1) + "Brisquet.exe";
}

std::string BrisquetText(UINT id)
{
    UniqueModule module(::LoadLibraryExA(BrisquetPath().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE));
    char text[512] = "";
    ::LoadStringA(module.get(), id, text, sizeof text);
    return text;
}

std::string Quoted(const std::string& path)
{
    return " \"" + path + '"';
}

// Brisquet.exe with the given arguments; CreateProcessA is tried again when it fails.
class Brisquet {
public:
    explicit Brisquet(const std::string& arguments)
    {
        ChildProcess child = StartChild('"' + BrisquetPath() + '"' + arguments);
        m_process = std::move(child.process);
        m_pid = child.pid;
        m_startError = child.error;
    }
    Brisquet(const Brisquet&) = delete;
    Brisquet& operator=(const Brisquet&) = delete;
    ~Brisquet()
    {
        if (m_process && ::WaitForSingleObject(m_process.get(), 0) == WAIT_TIMEOUT) {
            ::TerminateProcess(m_process.get(), 2);
            ::WaitForSingleObject(m_process.get(), kTimeoutMs);
        }
    }

    bool Started() const { return static_cast<bool>(m_process); }
    DWORD StartError() const { return m_startError; }
    // Its exit code once it ends within the bound, else STILL_ACTIVE.
    DWORD ExitCode() const
    {
        DWORD code = STILL_ACTIVE;
        if (::WaitForSingleObject(m_process.get(), kTimeoutMs) == WAIT_OBJECT_0)
            ::GetExitCodeProcess(m_process.get(), &code);
        return code;
    }
    HWND WaitForMessageBox() const
    {
        const auto isBox = [this](HWND hwnd) {
            DWORD pid = 0;
            ::GetWindowThreadProcessId(hwnd, &pid);
            return pid == m_pid && ClassName(hwnd) == "#32770" && ::IsWindowVisible(hwnd);
        };
        HWND box = nullptr;
        WaitFor([&] { return (box = FindWindowWhere(isBox)) != nullptr; });
        return box;
    }

private:
    UniqueKernelHandle m_process;
    DWORD m_pid = 0;
    DWORD m_startError = 0;
};

class BrisquetTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(SUCCEEDED(::CoInitialize(nullptr))); }
    void TearDown() override { ::CoUninitialize(); }

    // A shortcut saved by the shell-link object; an empty target leaves its path unset.
    std::string MakeShortcut(const std::string& name, const std::string& target) const
    {
        const std::string path = m_temp.Path() + '\\' + name;
        ComPtr<IShellLinkA> link;
        ComPtr<IPersistFile> file;
        wchar_t widePath[MAX_PATH] = L"";
        ::MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, widePath, MAX_PATH);
        EXPECT_TRUE(SUCCEEDED(
            ::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA, link.out())));
        EXPECT_TRUE(target.empty() || SUCCEEDED(link->SetPath(target.c_str())));
        EXPECT_TRUE(SUCCEEDED(link->QueryInterface(IID_IPersistFile, file.out())));
        EXPECT_TRUE(SUCCEEDED(file->Save(widePath, TRUE)));
        return path;
    }

    TempFolder m_temp;
};

TEST_F(BrisquetTest, EachBadInputShowsItsOwnMessageAndExitsWithOne)
{
    const std::string good = MakeShortcut("good.lnk", m_temp.MakeFile("target.txt"));
    std::ifstream in(good, std::ios::binary);
    const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    std::string noise(300, '\0');
    std::mt19937 random(7);
    for (char& c : noise)
        c = static_cast<char>(random());
    const std::string goneTarget = m_temp.MakeFile("gone.txt");
    const std::string gone = MakeShortcut("gone.lnk", goneTarget);
    ::DeleteFileA(goneTarget.c_str());
    // The name ends in a character whose trail byte is 0x5C, right before the closing quote.
    const std::string missing = m_temp.Path() + "\\\x95\x5C";
    const std::string longPath = m_temp.Path() + '\\' + std::string(5000, 'a') + ".lnk";
    struct BadInput {
        const char* what;
        std::string arguments;
        UINT message;
        std::string named;
    };
    const std::vector<BadInput> inputs = {
        {"no argument", "", IDS_USAGE, ""},
        {"two arguments", Quoted(good) + Quoted(good), IDS_USAGE, ""},
        {"no such file", Quoted(missing), IDS_LINK_NOT_FOUND, missing},
        {"a path longer than any file's", Quoted(longPath), IDS_LINK_NOT_FOUND, longPath},
        {"empty file", Quoted(m_temp.MakeFile("empty.lnk", "")), IDS_LINK_UNREADABLE, m_temp.Path() + "\\empty.lnk"},
        {"random bytes", Quoted(m_temp.MakeFile("noise.lnk", noise)), IDS_LINK_UNREADABLE, m_temp.Path() + "\\noise.lnk"},
        {"truncated shortcut", Quoted(m_temp.MakeFile("cut.lnk", bytes.substr(0, bytes.size() / 2))),
         IDS_LINK_UNREADABLE, m_temp.Path() + "\\cut.lnk"},
        {"no target", Quoted(MakeShortcut("none.lnk", "")), IDS_NO_TARGET, m_temp.Path() + "\\none.lnk"},
        {"target deleted", Quoted(gone), IDS_TARGET_NOT_FOUND, goneTarget},
    };
    for (const BadInput& input : inputs) {
        SCOPED_TRACE(input.what);
        const Brisquet brisquet(input.arguments);
        ASSERT_TRUE(brisquet.Started()) << "CreateProcessA failed, last error " << brisquet.StartError();
        const HWND box = brisquet.WaitForMessageBox();
        ASSERT_NE(box, nullptr) << "no message box; exit code " << brisquet.ExitCode();
        std::string expected = BrisquetText(input.message);
        ASSERT_FALSE(expected.empty());
        if (!input.named.empty())
            expected += "\n\n" + input.named;
        EXPECT_EQ(WindowText(::GetDlgItem(box, 0xFFFF)), expected);
        EXPECT_EQ(WindowText(box), "Brisquet");
        ::PostMessageA(box, WM_COMMAND, IDOK, 0);
        EXPECT_EQ(brisquet.ExitCode(), 1u);
    }
}

TEST_F(BrisquetTest, ShortcutOpensTheTargetsFolderWithTheTargetSelected)
{
    const std::string folderName = "\x95\x5C"; // a trail byte 0x5C ends the folder's name
    for (const char* name : {"a.txt", "b.txt", "c.txt"})
        m_temp.MakeFile(folderName + '\\' + name);
    // The shell finds the folder's window through the desktop process's window list. A Wine
    // session that outlived its X display keeps a dead registration of it, and then every
    // shell call that needs it fails: say so rather than blame Brisquet.
    ComPtr<IShellWindows> shellWindows;
    ASSERT_TRUE(SUCCEEDED(::CoCreateInstance(CLSID_ShellWindows, nullptr, CLSCTX_LOCAL_SERVER, IID_IShellWindows,
                                             shellWindows.out())))
        << "the shell's window list does not answer: a Wine session left from another display? (wineserver -k)";
    const Brisquet brisquet(Quoted(MakeShortcut("b.lnk", m_temp.Path() + '\\' + folderName + "\\b.txt")));
    ASSERT_TRUE(brisquet.Started()) << "CreateProcessA failed, last error " << brisquet.StartError();
    // A message box would hold the process until someone closed it.
    EXPECT_EQ(brisquet.ExitCode(), 0u) << WindowText(::GetDlgItem(brisquet.WaitForMessageBox(), 0xFFFF));

    HWND shown = nullptr;
    WaitFor([&] {
        shown = FindWindowWhere([&](HWND hwnd) { return ::IsWindowVisible(hwnd) && WindowText(hwnd) == folderName; });
        return shown != nullptr;
    });
    ASSERT_NE(shown, nullptr) << "no window shows the folder";
    // Wine's explorer lists the folder, sorted by name, in a list view.
    const HWND list = FindWindowWhere([](HWND hwnd) { return ClassName(hwnd) == WC_LISTVIEWA; }, shown);
    const bool targetSelected = list != nullptr && WaitFor([list] {
        return ::SendMessageA(list, LVM_GETSELECTEDCOUNT, 0, 0) == 1 &&
               ::SendMessageA(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED) == 1;
    });
    ::PostMessageA(shown, WM_CLOSE, 0, 0);
    EXPECT_TRUE(WaitFor([shown] { return !::IsWindow(shown); }));
    EXPECT_TRUE(targetSelected);
}
} // namespace
