// The browser command line against its rules, written out plainly: cut at the opening quote of
// the first quoted "%1" that starts a character of its own, else at the first such bare %1, else
// keep the whole template; then a blank and the URL; nothing when that needs 520 bytes or more.
#include "FuzzCheck.h"
#include "about/BrowserCommand.h"

namespace {
std::size_t FirstOwn(const std::string& s, const std::vector<bool>& own, std::string_view needle)
{
    for (std::size_t i = 0; i < s.size(); ++i)
        if (own[i] && s.compare(i, needle.size(), needle) == 0)
            return i;
    return s.size();
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const auto [commandTemplate, url] = TwoParts(data, size);
    const std::vector<bool> own = OwnBytes(commandTemplate);
    std::size_t cut = FirstOwn(commandTemplate, own, "\"%1\"");
    if (cut == commandTemplate.size())
        cut = FirstOwn(commandTemplate, own, "%1");
    const std::string expected = commandTemplate.substr(0, cut) + ' ' + url;

    const std::optional<std::string> command = BrowserCommandLine(commandTemplate, url);
    Require(command.has_value() == (expected.size() < kBrowserCommandSize), "a command line exactly when it fits");
    Require(!command || *command == expected, "the command line agrees with the rules");
    return 0;
}
