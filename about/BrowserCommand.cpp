#include "about/BrowserCommand.h"
#include "mbcs/Mbcs.h"

namespace {
// Where needle starts as a character of its own in s, or npos.
std::size_t FindAtCharacter(std::string_view s, std::string_view needle)
{
    for (std::size_t i = 0; i < s.size(); i += CharSize(s, i)) {
        if (s.substr(i, needle.size()) == needle)
            return i;
    }
    return std::string_view::npos;
}
} // namespace

std::optional<std::string> BrowserCommandLine(std::string_view commandTemplate, std::string_view url)
{
    std::size_t cut = FindAtCharacter(commandTemplate, "\"%1\"");
    if (cut == std::string_view::npos)
        cut = FindAtCharacter(commandTemplate, "%1");
    std::string command(commandTemplate.substr(0, cut));
    command += ' ';
    command += url;
    if (command.size() >= kBrowserCommandSize)
        return std::nullopt;
    return command;
}
