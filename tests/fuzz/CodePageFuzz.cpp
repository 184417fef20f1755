// The code page walk: character sizes, the backslash searches and the trim, against a byte by
// byte reference in which a lead byte hides the next byte only when that is a trail byte.
#include "FuzzCheck.h"
#include "tree/PathHelpers.h"

namespace {
// Index of the last backslash that is a character of its own, or -1.
int LastBackslash(std::string_view s)
{
    int last = -1;
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (Lead(s[i]) && i + 1 < s.size() && Trail(s[i + 1]))
            ++i;
        else if (s[i] == '\\')
            last = static_cast<int>(i);
    }
    return last;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string s(reinterpret_cast<const char*>(data), size);
    for (std::size_t i = 0; i < s.size(); i += CharSize(s, i)) {
        const bool pair = Lead(s[i]) && i + 1 < s.size() && s[i + 1] != '\0';
        Require(CharSize(s, i) == (pair ? 2u : 1u), "CharSize: a lead byte takes its partner, no other byte does");
    }

    Require(ReverseFind(s, '\\') == LastBackslash(s), "ReverseFind");
    const std::string text = s.c_str(); // what the C-string helpers see
    const int last = LastBackslash(text);
    Require(FindLastChar(text.c_str(), '\\') == last, "FindLastChar");
    Require(EndsWithBackslash(text.c_str()) == (!text.empty() && last == static_cast<int>(text.size()) - 1),
            "EndsWithBackslash");

    std::string trimmed = s;
    TrimRightBackslashes(trimmed);
    const std::size_t kept = trimmed.size();
    Require(kept <= s.size() && s.compare(0, kept, trimmed) == 0, "trimming keeps a prefix");
    Require(s.find_first_not_of('\\', kept) == std::string::npos, "trimming removes backslashes only");
    Require(kept == s.size() || LastBackslash(s.substr(0, kept + 1)) == static_cast<int>(kept),
            "the first backslash removed is a character of its own");
    Require(kept == 0 || LastBackslash(trimmed) != static_cast<int>(kept) - 1, "no backslash of its own is left at the end");
    return 0;
}
