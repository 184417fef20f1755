// The "Hotkey" value: any bytes are read without reading past them; a value read is a real
// hotkey (a modifier, a key of the list, no F12) that is written within its buffer and reads
// back the same; and blanks around the names or another letter case never change what it is.
#include <string>
#include "FuzzCheck.h"
#include "frame/HotkeyText.h"

namespace {
bool IsKey(std::uint32_t key)
{
    return key == 0x20 || (key >= 'A' && key <= 'Z') || (key >= '0' && key <= '9') || (key >= 0x70 && key <= 0x87);
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);
    const std::optional<HotkeyText> parsed = ParseHotkey(text);

    std::string varied;
    for (char c : text) {
        if (c == '+')
            varied += " + ";
        else
            varied += c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : (c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c);
    }
    Require(ParseHotkey(varied) == parsed, "blanks around names and letter case change nothing");
    if (!parsed)
        return 0;
    Require(parsed->modifiers != 0 && parsed->modifiers < 16, "at least one modifier and no other bits");
    Require(IsKey(parsed->key) && parsed->key != 0x7B, "a key of the list, not F12");
    const std::string written = FormatHotkey(*parsed);
    Require(written.size() < kHotkeyTextSize, "the value fits its buffer");
    Require(ParseHotkey(written) == parsed, "the written value reads back the same");
    return 0;
}
