// Shortcut files made and read through the shell-link object, as the shell does.
#pragma once
#include <string>

// False when the shell-link object cannot make it.
bool MakeShortcut(const std::string& path, const std::string& target, const std::string& workingDirectory);
// The show command the shell-link object reports for a saved shortcut.
int ShortcutShowCmd(const std::string& path);
