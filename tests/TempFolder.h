// A folder of the test's own under the temporary directory, removed with everything in it.
#pragma once
#include <string>

class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    // Full path, without a trailing backslash.
    const std::string& Path() const { return m_path; }
    // Creates a folder or a file (with its parent folders) at a path relative to this one.
    std::string MakeFolder(const std::string& relative) const;
    std::string MakeFile(const std::string& relative, const std::string& content = "x") const;

private:
    std::string m_path;
};

// Removes a folder with everything in it, also below the length the ANSI functions take.
void RemoveTree(const std::string& path);
// An absolute path in the form the wide functions take past 260 characters.
std::wstring LongPath(const std::string& path);
// The path Wine maps a Windows path to, for a program of the Linux side; empty elsewhere.
std::string UnixPath(const std::string& path);
// Starts a shell script on the Linux side, as another program would change the files. Wine
// gives no handle to wait on: wait for what the script does.
bool StartOnLinuxSide(const std::string& script);
