// The shortcut in the user's Startup folder that starts this Fernwick when Windows starts:
// the way of a program that writes nothing to the registry.
#pragma once
#include <windows.h>
#include <string>

class CStartupShortcut {
public:
    enum class State {
        None,       // no "Fernwick.lnk" in the folder
        Ours,       // one that starts this program
        Other,      // one that starts another program (another copy of Fernwick)
        Unreadable, // a file of that name that is no shortcut the shell-link object can read
    };

    // folder: where the shortcut goes; program: the full path of the program it starts.
    CStartupShortcut(std::wstring folder, std::wstring program);
    // The user's Startup folder and this module: what the program itself uses.
    static CStartupShortcut ForThisProgram();

    // Needs COM on the calling thread, as every call below. *target, when asked for: the
    // program the shortcut starts, for an Other one.
    State Read(std::wstring* target = nullptr) const;
    // Writes the shortcut, replacing whatever had the name: the program with the root folder
    // (absolute, by its real name) as its argument, startFolder as its start folder, started
    // minimized without activation. S_OK, or why it could not be written.
    HRESULT Create(const std::wstring& root, const std::wstring& startFolder) const;
    // Deletes the shortcut; S_OK also when there was none.
    HRESULT Remove() const;

    const std::wstring& Folder() const { return m_folder; }
    std::wstring LinkPath() const;

private:
    std::wstring m_folder;
    std::wstring m_program;
};

// The root as one command-line argument that CommandLineToArgvW and the runtime read back
// as the root itself: quoted, a trailing backslash doubled so it does not escape the quote.
std::wstring QuotedArgument(const std::wstring& path);
