// The upper-case table built into the helpers against the system's own mapping of every
// two-byte character: code page 932 to UTF-16, upper case, and back.
#include <gtest/gtest.h>
#include <windows.h>
#include "tree/Mbcs.h"

namespace {
TEST(MbcsSystemTest, TheAnsiCodePageIs932)
{
    EXPECT_EQ(::GetACP(), 932u);
}

TEST(MbcsSystemTest, TableMatchesTheSystemForEveryLeadAndTrailBytePair)
{
    int characters = 0;
    int changed = 0;
    for (unsigned lead = 0x00; lead <= 0xFF; ++lead) {
        if (!IsRuntimeLeadByte(static_cast<unsigned char>(lead)))
            continue;
        for (unsigned trail = 0x01; trail <= 0xFF; ++trail) {
            const unsigned code = lead * 256 + trail;
            const char bytes[2] = {static_cast<char>(lead), static_cast<char>(trail)};
            wchar_t wide[2];
            if (::MultiByteToWideChar(932, MB_ERR_INVALID_CHARS, bytes, 2, wide, 2) != 1) {
                EXPECT_EQ(UpperTwoByte(code), code) << std::hex << code << " is no character: kept";
                continue;
            }
            ++characters;
            ::CharUpperBuffW(wide, 1);
            char back[4];
            BOOL defaulted = FALSE;
            int n = ::WideCharToMultiByte(932, 0, wide, 1, back, sizeof back, nullptr, &defaulted);
            unsigned expected = n == 2 && !defaulted
                                    ? static_cast<unsigned char>(back[0]) * 256u + static_cast<unsigned char>(back[1])
                                    : code;
            EXPECT_EQ(UpperTwoByte(code), expected) << std::hex << code;
            changed += expected != code;
        }
    }
    EXPECT_GT(characters, 7000);
    EXPECT_GT(changed, 0);
}

TEST(MbcsSystemTest, CompareNoCaseAgreesWithTheSystemOnFullWidthLetters)
{
    // Full-width a-z and A-Z, Greek and Cyrillic: each lower-case letter equals its capital.
    for (unsigned lower = 0x8281; lower <= 0x829A; ++lower) {
        char a[3] = {static_cast<char>(lower >> 8), static_cast<char>(lower & 0xFF), 0};
        char b[3] = {static_cast<char>(0x82), static_cast<char>((lower & 0xFF) - 0x21), 0};
        EXPECT_EQ(CompareNoCase(a, b), 0) << std::hex << lower;
    }
    EXPECT_EQ(CompareNoCase("\x83\xBF", "\x83\x9F"), 0) << "alpha";
    EXPECT_EQ(CompareNoCase("\x84\x70", "\x84\x40"), 0) << "Cyrillic a";
}
} // namespace
