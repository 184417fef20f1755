// A path for the file and shell functions. Code page 932 spells nearly every name, and such
// a path goes to the ANSI functions as its bytes, exactly as ever; a path holding a name it
// cannot spell (accented Latin, Korean, emoji) keeps its wide form, for the wide functions.
#pragma once
#include <string>

struct ShellPath {
    std::string ansi;  // the code page 932 form; where wide is set, '?' for what it cannot spell
    std::wstring wide; // empty for a path code page 932 spells

    bool IsWide() const { return !wide.empty(); }
    bool Empty() const { return ansi.empty() && wide.empty(); }
    // The wide form, converted where it is not kept.
    std::wstring Wide() const;
};

// The code page 932 form of a wide text without best-fit guesses ("e" for "é", a backslash
// for the yen sign); false when some character had no form of its own.
bool ToCodePage(const std::wstring& wide, std::string& ansi);
std::wstring FromCodePage(const std::string& ansi);

ShellPath PathFromAnsi(const std::string& ansi);
ShellPath PathFromWide(const std::wstring& wide);
// folder and name joined by one backslash; name given in both forms, wide empty if spelled.
ShellPath JoinPath(const ShellPath& folder, const std::string& name, const std::wstring& wideName);
// The path with more appended (an extension, a backslash): text the code page spells.
ShellPath Append(const ShellPath& path, const std::string& more);
