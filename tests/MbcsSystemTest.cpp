// The upper-case table built into the helpers against the system's own mapping of every
// two-byte character: code page 932 to UTF-16, upper case, and back.
#include <gtest/gtest.h>
#include <windows.h>
#include <string>
#include "mbcs/Mbcs.h"

namespace {
TEST(MbcsSystemTest, TheAnsiCodePageIs932)
{
    EXPECT_EQ(::GetACP(), 932u);
}

// Bytes that are no character of the code page, or whose capital has no two-byte form, stay.
std::string SystemUpper(const std::string& bytes)
{
    wchar_t wide[2];
    if (::MultiByteToWideChar(932, MB_ERR_INVALID_CHARS, bytes.data(), 2, wide, 2) != 1)
        return bytes;
    ::CharUpperBuffW(wide, 1);
    char back[4];
    BOOL defaulted = FALSE;
    const int n = ::WideCharToMultiByte(932, 0, wide, 1, back, sizeof back, nullptr, &defaulted);
    return n == 2 && !defaulted ? std::string(back, 2) : bytes;
}

TEST(MbcsSystemTest, EveryLeadAndTrailBytePairIsCasedAsTheSystemDoes)
{
    int changed = 0;
    for (int lead = 0x81; lead <= 0xFC; ++lead) {
        if (lead > 0x9F && lead < 0xE0)
            continue;
        for (int trail = 0x01; trail <= 0xFF; ++trail) {
            const std::string bytes{static_cast<char>(lead), static_cast<char>(trail)};
            const std::string expected = SystemUpper(bytes);
            std::string upper = bytes;
            MakeUpper(upper);
            EXPECT_EQ(upper, expected) << std::hex << lead * 256 + trail;
            EXPECT_EQ(CompareNoCase(bytes.c_str(), expected.c_str()), 0) << std::hex << lead * 256 + trail;
            changed += expected != bytes;
        }
    }
    EXPECT_GT(changed, 0);
}
} // namespace
