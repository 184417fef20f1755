// The tray caption against its rule: split the full path (the extension runs from the last dot
// that is a character of its own in the last component); for ".lnk" or ".url", compared by
// CompareNoCase, the caption is the file name without the extension, else the name as given.
#include "FuzzCheck.h"
#include "mbcs/Mbcs.h"
#include "view/TrayCaption.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const auto [folder, name] = TwoParts(data, size);
    const std::string full = folder + name;
    const std::vector<bool> own = OwnBytes(full);
    std::size_t nameStart = full.size() >= 2 && full[1] == ':' ? 2 : 0, dot = std::string::npos;
    for (std::size_t i = nameStart; i < full.size(); ++i) {
        if (own[i] && (full[i] == '\\' || full[i] == '/')) {
            nameStart = i + 1;
            dot = std::string::npos;
        } else if (own[i] && full[i] == '.') {
            dot = i;
        }
    }
    const char* ext = dot == std::string::npos ? "" : full.c_str() + dot;
    const bool shortcut = CompareNoCase(ext, ".lnk") == 0 || CompareNoCase(ext, ".url") == 0;
    const std::string expected = shortcut ? full.substr(nameStart, dot - nameStart) : name;
    Require(TrayCaption(full, name) == expected, "the caption agrees with the rule");
    return 0;
}
