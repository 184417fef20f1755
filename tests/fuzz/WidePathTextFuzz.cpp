// The settings form of a wide path: any UTF-16 path comes back as it was (a lone half of a
// surrogate pair as U+FFFD), in plain ASCII behind its prefix; any text that decodes is the
// one form of its path.
#include <string_view>
#include "FuzzCheck.h"
#include "tree/WidePathText.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::u16string path;
    for (std::size_t i = 0; i + 1 < size; i += 2)
        path += static_cast<char16_t>(data[i] | data[i + 1] << 8);
    const std::string text = EncodeWidePath(path);
    Require(std::string_view(text).substr(0, sizeof kWidePathPrefix - 1) == kWidePathPrefix, "the prefix");
    for (const char c : text)
        Require(c > 0x20 && c < 0x7F, "plain ASCII, no blank the profile functions would trim");
    std::u16string back;
    Require(DecodeWidePath(text, back), "decodes");
    std::u16string expected = path;
    for (std::size_t i = 0; i < expected.size(); ++i) {
        const bool high = expected[i] >= 0xD800 && expected[i] <= 0xDBFF;
        if (high && i + 1 < expected.size() && expected[i + 1] >= 0xDC00 && expected[i + 1] <= 0xDFFF)
            ++i;
        else if (expected[i] >= 0xD800 && expected[i] <= 0xDFFF)
            expected[i] = 0xFFFD;
    }
    Require(back == expected, "the same path back");

    const std::string raw(reinterpret_cast<const char*>(data), size);
    if (DecodeWidePath(raw, back))
        Require(EncodeWidePath(back) == raw, "one form for each path");
    return 0;
}
