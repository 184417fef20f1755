// Finding under the root by typing: the real program's window driven with real keys, the
// shell's calls recorded, the index checked against a plain walk of real folders.
#include "AppFixture.h"
#include <algorithm>
#include <set>
#include "ShellRecorder.h"
#include "Shortcut.h"
#include "framework/WinApp.h"
#include "search/SearchIndex.h"

namespace {
// Every message the program's own loop would handle, for a while or until done holds.
template <class Done>
bool PumpUntil(Done done, DWORD timeoutMs = kTestTimeoutMs)
{
    const ULONGLONG end = ::GetTickCount64() + timeoutMs;
    for (;;) {
        MSG msg;
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE))
            if (!AfxPumpMessage(msg))
                return false;
        if (done())
            return true;
        if (::GetTickCount64() >= end)
            return false;
        ::MsgWaitForMultipleObjectsEx(0, nullptr, 10, QS_ALLINPUT, MWMO_ALERTABLE | MWMO_INPUTAVAILABLE);
    }
}

void PumpFor(DWORD ms)
{
    PumpUntil([] { return false; }, ms);
}

INPUT KeyInput(WORD vk, WORD unicode, DWORD flags)
{
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = vk;
    input.ki.wScan = unicode;
    input.ki.dwFlags = flags;
    return input;
}

std::wstring Wide(const std::string& ansi)
{
    return FromCodePage(ansi);
}

// The paths below root a plain recursive walk finds, as the tree lists them.
void Walk(const std::wstring& folder, const std::wstring& below, std::set<std::wstring>& found)
{
    WIN32_FIND_DATAW data;
    const HANDLE find = ::FindFirstFileW((folder + L"\\*").c_str(), &data);
    if (find == INVALID_HANDLE_VALUE)
        return;
    do {
        const std::wstring name = data.cFileName;
        if (name == L"." || name == L".." || (data.dwFileAttributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_TEMPORARY)))
            continue;
        const std::wstring relative = below.empty() ? name : below + L"\\" + name;
        found.insert(relative);
        if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            Walk(folder + L"\\" + name, relative, found);
    } while (::FindNextFileW(find, &data));
    ::FindClose(find);
}

std::set<std::wstring> Indexed(const CSearchIndex& index)
{
    std::set<std::wstring> found;
    for (std::uint32_t e = 1; e < index.Slots(); ++e)
        if (index.IsLive(e))
            found.insert(index.RelativePath(e));
    return found;
}

class FindTest : public AppFixture {
protected:
    void SetUp() override
    {
        AppFixture::SetUp();
        folder.MakeFile("Root\\Docs\\Reports\\Quarterly Report.txt");
        folder.MakeFile("Root\\Docs\\notes.txt");
        folder.MakeFile("Root\\Deep\\A\\B\\C\\needle-deep.txt");
        const std::string hidden = folder.MakeFile("Root\\Docs\\secret-hidden.txt");
        ::SetFileAttributesA(hidden.c_str(), FILE_ATTRIBUTE_HIDDEN);
        for (int i = 0; i < 60; ++i)
            folder.MakeFolder("Root\\Folder " + std::to_string(100 + i));
        ASSERT_TRUE(MakeShortcut(root + "\\Mail.lnk", root + "\\Docs\\notes.txt", folder.Path()));
        for (const wchar_t* name : {L"\\Caf\u00e9.txt", L"\\\ud55c\uae00 \uba54\ubaa8.txt", L"\\\u30e1\u30e2\u5e33.txt"}) {
            const HANDLE file = ::CreateFileW((Wide(root) + name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
            ASSERT_NE(file, INVALID_HANDLE_VALUE);
            ::CloseHandle(file);
        }
        Start(SW_SHOW);
        ::SetForegroundWindow(Frame());
        View().m_finder.BuildNow(); // as a search begun now would, rather than a moment later
        ASSERT_TRUE(PumpUntil([&] { return !Index().Busy(); }));
    }

    CSearchIndex& Index() const { return View().m_finder.m_index; }
    CFindPanel& Panel() const { return View().m_finder.m_panel; }

    // Keys as the keyboard gives them, to the window with the focus.
    void Send(std::vector<INPUT> inputs)
    {
        ASSERT_EQ(::SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT)), inputs.size())
            << ::GetLastError();
        PumpFor(100);
    }
    void Key(WORD vk, bool control = false)
    {
        std::vector<INPUT> inputs;
        if (control)
            inputs.push_back(KeyInput(VK_CONTROL, 0, 0));
        inputs.push_back(KeyInput(vk, 0, 0));
        inputs.push_back(KeyInput(vk, 0, KEYEVENTF_KEYUP));
        if (control)
            inputs.push_back(KeyInput(VK_CONTROL, 0, KEYEVENTF_KEYUP));
        Send(inputs);
    }
    void Type(const std::wstring& text)
    {
        for (wchar_t c : text)
            Send({KeyInput(0, c, KEYEVENTF_UNICODE), KeyInput(0, c, KEYEVENTF_UNICODE | KEYEVENTF_KEYUP)});
    }
    void Find(const std::wstring& text)
    {
        Key('F', true);
        ASSERT_TRUE(Panel().IsWindowVisible());
        ASSERT_EQ(::GetFocus(), Panel().Box());
        Type(text);
    }
    std::wstring BoxText() const
    {
        wchar_t text[256] = L"";
        ::GetWindowTextW(Panel().Box(), text, 256);
        return text;
    }
    // A row's text as the list draws it.
    std::wstring Row(int row, int column = 0) const
    {
        wchar_t text[512] = L"";
        LVITEMW item{};
        item.iSubItem = column;
        item.pszText = text;
        item.cchTextMax = 512;
        ::SendMessageW(Panel().List(), LVM_GETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
        return text;
    }
    int Rows() const { return static_cast<int>(::SendMessageW(Panel().List(), LVM_GETITEMCOUNT, 0, 0)); }
    std::wstring Selected() const { return Row(Panel().Selected()); }

    ShellRecorder shell;
};

TEST_F(FindTest, TypedQueryListsTheWholeTreeAndEnterOpensTheSelectedEntry)
{
    Find(L"quarterly");
    EXPECT_EQ(BoxText(), L"quarterly");
    ASSERT_GE(Rows(), 1);
    EXPECT_EQ(Row(0), L"Quarterly Report.txt");
    EXPECT_EQ(Row(0, 1), L"Docs\\Reports");
    EXPECT_EQ(Selected(), L"Quarterly Report.txt");
    Key(VK_RETURN);
    ASSERT_EQ(shell.shellExecutes.size(), 1u);
    EXPECT_EQ(shell.shellExecutes[0].file, root + "\\Docs\\Reports\\Quarterly Report.txt");

    // A shortcut shows without its extension and starts in its own start folder.
    Key(VK_ESCAPE);
    Find(L"mail");
    ASSERT_GE(Rows(), 1);
    EXPECT_EQ(Selected(), L"Mail");
    Key(VK_RETURN);
    ASSERT_EQ(shell.shellExecutes.size(), 2u);
    EXPECT_EQ(shell.shellExecutes[1].file, root + "\\Mail.lnk");
    EXPECT_EQ(shell.shellExecutes[1].directory, folder.Path());

    // A folder's name matches what is below it, ranked after the names that match.
    Key(VK_ESCAPE);
    Find(L"docs");
    ASSERT_GE(Rows(), 3);
    EXPECT_EQ(Row(0), L"Docs");
    std::vector<std::wstring> rows;
    for (int i = 0; i < Rows(); ++i)
        rows.push_back(Row(i));
    EXPECT_NE(std::find(rows.begin(), rows.end(), L"notes.txt"), rows.end());
    EXPECT_EQ(std::find(rows.begin(), rows.end(), L"secret-hidden.txt"), rows.end());
    // Down moves; Up at the top stays.
    Key(VK_DOWN);
    EXPECT_EQ(Panel().Selected(), 1);
    Key(VK_UP);
    Key(VK_UP);
    EXPECT_EQ(Panel().Selected(), 0);
    Key(VK_NEXT);
    EXPECT_EQ(Panel().Selected(), Rows() - 1);
}

TEST_F(FindTest, EscGivesTheTreeBackAsItWasAndCtrlEnterShowsTheEntryInIt)
{
    const HTREEITEM chosen = Item("Folder 150");
    Tree().SelectItem(chosen);
    const int scroll = ::GetScrollPos(Tree().m_hWnd, SB_VERT);
    ASSERT_GT(scroll, 0);
    Find(L"needle");
    ASSERT_FALSE(Tree().IsWindowVisible());
    Key(VK_DOWN);
    Key(VK_ESCAPE);
    EXPECT_FALSE(Panel().IsWindowVisible());
    EXPECT_TRUE(Tree().IsWindowVisible());
    EXPECT_EQ(::GetFocus(), Tree().m_hWnd);
    EXPECT_EQ(Tree().GetSelectedItem(), chosen);
    EXPECT_EQ(::GetScrollPos(Tree().m_hWnd, SB_VERT), scroll);

    // Typing in the tree keeps the control's own search by first letters.
    Type(L"m");
    EXPECT_EQ(Tree().GetItemTextW(Tree().GetSelectedItem()), L"Mail");
    EXPECT_FALSE(Panel().IsWindowVisible());

    // A file in folders never expanded: they open along its path, and it is selected.
    Find(L"needle");
    ASSERT_EQ(Selected(), L"needle-deep.txt");
    Key(VK_RETURN, true);
    EXPECT_TRUE(shell.shellExecutes.empty());
    EXPECT_FALSE(Panel().IsWindowVisible());
    const HTREEITEM selected = Tree().GetSelectedItem();
    ASSERT_NE(selected, nullptr);
    EXPECT_EQ(Tree().GetItemPath(selected), root + "\\Deep\\A\\B\\C\\needle-deep.txt");
    EXPECT_TRUE(IsExpanded(Item("Deep")));
}

TEST_F(FindTest, CtrlEnterShowsTheShortcutItselfBesideAFolderOfTheSameCaption)
{
    // Both rows read "Notes" in the tree, the folder first; the shortcut is the one found.
    folder.MakeFolder("Root\\Deep\\A\\Notes");
    ASSERT_TRUE(MakeShortcut(root + "\\Deep\\A\\Notes.lnk", root + "\\Docs\\notes.txt", folder.Path()));
    Find(L"a notes lnk");
    ASSERT_TRUE(PumpUntil([&] { return Rows() == 1; }, 2000));
    ASSERT_EQ(Selected(), L"Notes");
    Key(VK_RETURN, true);
    const HTREEITEM selected = Tree().GetSelectedItem();
    ASSERT_NE(selected, nullptr);
    EXPECT_EQ(Tree().ItemFilePath(selected).ansi, root + "\\Deep\\A\\Notes.lnk");
    EXPECT_TRUE(IsExpanded(Tree().GetParentItem(selected)));
}

TEST_F(FindTest, NamesTheCodePageCannotSpellAreTypedFoundAndOpened)
{
    Find(L"caf\u00e9");
    EXPECT_EQ(BoxText(), L"caf\u00e9");
    ASSERT_EQ(Rows(), 1);
    EXPECT_EQ(Row(0), L"Caf\u00e9.txt");
    Key(VK_RETURN);
    ASSERT_EQ(shell.shellExecutes.size(), 1u);
    EXPECT_EQ(shell.shellExecutes[0].wideFile, Wide(root) + L"\\Caf\u00e9.txt");

    Key(VK_ESCAPE);
    Find(L"\ud55c\uae00");
    ASSERT_EQ(Rows(), 1);
    EXPECT_EQ(Row(0), L"\ud55c\uae00 \uba54\ubaa8.txt");

    // Hiragana typed find the katakana name; so does romaji typed with the input method off.
    for (const wchar_t* typed : {L"\u3081\u3082", L"memo"}) {
        Key(VK_ESCAPE);
        Find(typed);
        EXPECT_EQ(BoxText(), typed);
        ASSERT_GE(Rows(), 1) << Rows();
        EXPECT_EQ(Row(0), L"\u30e1\u30e2\u5e33.txt");
    }
}

TEST_F(FindTest, FilesMadeAndDeletedInFoldersNeverExpandedAreSeenASecondLater)
{
    const std::string made = root + "\\Deep\\A\\B\\C\\fresh-file.txt";
    folder.MakeFile("Root\\Deep\\A\\B\\C\\fresh-file.txt");
    ::DeleteFileA((root + "\\Docs\\notes.txt").c_str());
    PumpFor(1000);
    Find(L"fresh");
    ASSERT_TRUE(PumpUntil([&] { return Rows() == 1; }, 1000));
    EXPECT_EQ(Row(0), L"fresh-file.txt");
    EXPECT_EQ(Row(0, 1), L"Deep\\A\\B\\C");
    Key(VK_ESCAPE);
    Find(L"notes");
    ASSERT_TRUE(PumpUntil([&] { return Rows() == 0; }, 1000));

    // The box still open: a query typed a second later finds a file made meanwhile, once
    // the typing pauses.
    folder.MakeFile("Root\\Deep\\A\\later-file.txt");
    PumpFor(1000);
    ::SetWindowTextW(Panel().Box(), L"");
    Type(L"later");
    ASSERT_TRUE(PumpUntil([&] { return Rows() == 1; }, 1000));
    EXPECT_EQ(Row(0, 1), L"Deep\\A");

    // A result deleted after it was shown opens nothing but its own path.
    Key(VK_ESCAPE);
    Find(L"fresh");
    ASSERT_EQ(Rows(), 1);
    ::DeleteFileA(made.c_str());
    folder.MakeFile("Root\\Deep\\A\\B\\C\\fresh-other.txt");
    Key(VK_RETURN);
    for (const ShellExecuteCall& call : shell.shellExecutes)
        EXPECT_EQ(call.file, made);
}

TEST_F(FindTest, HostileQueriesFindNothingAndTheWindowAnswers)
{
    Find(L"x");
    for (const std::wstring& text : {std::wstring(10000, L'*'), std::wstring(300, L' '), std::wstring(L"*?\\/:"),
                                     std::wstring(L"\U0001F600\ufa5c"), std::wstring(L"\\\\..\\..")}) {
        ::SetWindowTextW(Panel().Box(), text.c_str());
        PumpFor(50);
        EXPECT_EQ(Rows(), 0);
        Key(VK_RETURN);
    }
    EXPECT_TRUE(shell.shellExecutes.empty());
    // What an ANSI sender types: a lone lead byte, one with a plain letter after it, and a
    // character whose second byte is a backslash, which arrives whole.
    for (const std::string bytes : {"\x81", "\x81" "a", "\x95\x5C"}) {
        ::SetWindowTextW(Panel().Box(), L"");
        for (const char c : bytes)
            ::PostMessageA(Panel().Box(), WM_CHAR, static_cast<unsigned char>(c), 0);
        PumpFor(50);
        EXPECT_LE(BoxText().size(), 2u);
    }
    EXPECT_EQ(BoxText(), L"\u8868");
    EXPECT_EQ(Rows(), 0);
    Key(VK_ESCAPE);
    EXPECT_TRUE(Tree().IsWindowVisible());
}

TEST_F(FindTest, TheFindWindowOpensNearThePointerAndClosesAfterOpening)
{
    View().m_finder.ShowFindWindow({40, 50});
    CFindWindow& window = View().m_finder.m_window;
    ASSERT_TRUE(window.IsWindowVisible());
    RECT rect{};
    window.GetWindowRect(&rect);
    EXPECT_LE(std::abs(rect.left - 40), 20);
    EXPECT_LE(std::abs(rect.top - 50), 20);
    EXPECT_EQ(::GetForegroundWindow(), window.m_hWnd);
    EXPECT_TRUE(Tree().IsWindowVisible()); // the main window stays as it was
    Type(L"quarterly");
    Key(VK_RETURN);
    ASSERT_EQ(shell.shellExecutes.size(), 1u);
    EXPECT_EQ(shell.shellExecutes[0].file, root + "\\Docs\\Reports\\Quarterly Report.txt");
    EXPECT_FALSE(window.IsWindowVisible());

    // Near a corner it stays inside the screen; Esc closes it.
    const int right = ::GetSystemMetrics(SM_CXSCREEN), bottom = ::GetSystemMetrics(SM_CYSCREEN);
    View().m_finder.ShowFindWindow({right - 2, bottom - 2});
    window.GetWindowRect(&rect);
    EXPECT_LE(rect.right, right);
    EXPECT_LE(rect.bottom, bottom);
    Key(VK_ESCAPE);
    EXPECT_FALSE(window.IsWindowVisible());
}

// The index against a plain walk, while folders are renamed and deleted during its build
// and the root is deleted and made again.
TEST_F(FindTest, TheIndexFollowsFoldersChangedWhileItIsBuilt)
{
    // A root of its own: the window's tree watches its root, which Wine then cannot delete.
    CSearchIndex index;
    const std::string other = folder.Path() + "\\Other";
    const std::wstring base = Wide(other);
    for (int i = 0; i < 40; ++i)
        for (int j = 0; j < 10; ++j)
            folder.MakeFile("Other\\Many\\Sub " + std::to_string(i) + "\\file " + std::to_string(j) + ".txt");
    folder.MakeFile("Other\\Deep\\A\\B\\deep.txt");
    index.Reset(base);
    for (int slice = 0; slice < 3; ++slice)
        index.Step(0.5);
    ASSERT_TRUE(index.Building());
    ASSERT_TRUE(::MoveFileA((other + "\\Many\\Sub 30").c_str(), (other + "\\Many\\Renamed 30").c_str()));
    RemoveTree(other + "\\Many\\Sub 31");
    RemoveTree(other + "\\Deep");
    while (index.Step(5.0)) {
    }
    index.CheckForChanges();
    while (index.Step(5.0)) {
    }
    std::set<std::wstring> walked;
    Walk(base, L"", walked);
    EXPECT_EQ(Indexed(index), walked);
    EXPECT_NE(index.Find(L"many\\renamed 30\\FILE 3.TXT"), CSearchIndex::kNone);

    // The model's word for one folder is enough, without a check of all.
    folder.MakeFile("Other\\Many\\Sub 5\\told.txt");
    index.FolderChanged(L"Many\\Sub 5");
    while (index.Step(5.0)) {
    }
    EXPECT_NE(index.Find(L"Many\\Sub 5\\told.txt"), CSearchIndex::kNone);

    RemoveTree(other);
    index.CheckForChanges();
    while (index.Step(5.0)) {
    }
    EXPECT_EQ(index.LiveCount(), 0u);
    folder.MakeFile("Other\\Again\\back.txt");
    index.CheckForChanges();
    while (index.Step(5.0)) {
    }
    walked.clear();
    Walk(base, L"", walked);
    EXPECT_EQ(Indexed(index), walked);
    EXPECT_EQ(walked.size(), 2u);
}
} // namespace
