// The case-insensitive comparison, its sort keys and the upper-casing: the comparison's own
// laws, and a naive reference that lower-cases ASCII letters and takes each two-byte
// character's upper-case form from MakeUpper of that character alone.
#include <algorithm>
#include "FuzzCheck.h"
#include "mbcs/Mbcs.h"

namespace {
// The values the comparison walks through; a lead byte with nothing after it ends the text.
std::vector<int> Values(const char* s)
{
    std::vector<int> values;
    for (; *s != '\0' && !(Lead(s[0]) && s[1] == '\0'); ++s) {
        const auto b = static_cast<unsigned char>(*s);
        if (Lead(*s)) {
            std::string character{s[0], s[1]};
            MakeUpper(character);
            values.push_back(static_cast<unsigned char>(character[0]) * 256 + static_cast<unsigned char>(character[1]));
            ++s;
        } else {
            values.push_back(b >= 'A' && b <= 'Z' ? b - 'A' + 'a' : b);
        }
    }
    return values;
}

std::string Upper(std::string s)
{
    MakeUpper(s);
    return s;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const auto [a, b] = TwoParts(data, size);
    const int ab = CompareNoCase(a.c_str(), b.c_str());
    Require(Sign(ab) == -Sign(CompareNoCase(b.c_str(), a.c_str())), "swapping the sides flips the sign");
    Require(CompareNoCase(a.c_str(), a.c_str()) == 0, "a text equals itself");
    const std::vector<int> x = Values(a.c_str()), y = Values(b.c_str());
    Require(Sign(ab) == (x < y ? -1 : x > y ? 1 : 0), "the comparison agrees with the reference");
    const std::u16string keyA = CompareKey(a.c_str()), keyB = CompareKey(b.c_str());
    Require(Sign(ab) == (keyA < keyB ? -1 : keyA > keyB ? 1 : 0), "the sort keys order as the comparison does");

    const std::string upper = Upper(a);
    Require(upper.size() == a.size(), "upper-casing keeps the length");
    Require(Upper(upper) == upper, "upper-casing twice changes nothing more");
    Require(CompareNoCase(a.c_str(), upper.c_str()) == 0, "a text equals its upper-case form");
    if (std::all_of(a.begin(), a.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; })) {
        std::string ascii = a;
        for (char& c : ascii)
            c = c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
        Require(upper == ascii, "ASCII text upper-cases letter by letter");
    }
    return 0;
}
