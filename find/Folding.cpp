#include "find/Folding.h"
#include <iterator>

namespace {
// U+FF61 to U+FF9F: half-width punctuation and katakana, the two marks last.
constexpr char16_t kHalfWidthKana[] = {
    0x3002, 0x300C, 0x300D, 0x3001, 0x30FB, 0x30F2, 0x30A1, 0x30A3, 0x30A5, 0x30A7, 0x30A9,
    0x30E3, 0x30E5, 0x30E7, 0x30C3, 0x30FC, 0x30A2, 0x30A4, 0x30A6, 0x30A8, 0x30AA, 0x30AB,
    0x30AD, 0x30AF, 0x30B1, 0x30B3, 0x30B5, 0x30B7, 0x30B9, 0x30BB, 0x30BD, 0x30BF, 0x30C1,
    0x30C4, 0x30C6, 0x30C8, 0x30CA, 0x30CB, 0x30CC, 0x30CD, 0x30CE, 0x30CF, 0x30D2, 0x30D5,
    0x30D8, 0x30DB, 0x30DE, 0x30DF, 0x30E0, 0x30E1, 0x30E2, 0x30E4, 0x30E6, 0x30E8, 0x30E9,
    0x30EA, 0x30EB, 0x30EC, 0x30ED, 0x30EF, 0x30F3, 0x309B, 0x309C};
static_assert(std::size(kHalfWidthKana) == 0xFF9F - 0xFF61 + 1);

// U+FFE0 to U+FFEE: full-width signs and half-width arrows and shapes (U+FFE7 is unassigned).
constexpr char16_t kWidthSigns[] = {0x00A2, 0x00A3, 0x00AC, 0x00AF, 0x00A6, 0x00A5, 0x20A9, 0xFFE7,
                                    0x2502, 0x2190, 0x2191, 0x2192, 0x2193, 0x25A0, 0x25CB};
static_assert(std::size(kWidthSigns) == 0xFFEE - 0xFFE0 + 1);

char16_t Lower(char16_t c)
{
    if ((c >= 0x00C0 && c <= 0x00DE && c != 0x00D7) || (c >= 0x0391 && c <= 0x03A9 && c != 0x03A2) ||
        (c >= 0x0410 && c <= 0x042F))
        return static_cast<char16_t>(c + 0x20);
    if (c >= 0x0400 && c <= 0x040F)
        return static_cast<char16_t>(c + 0x50);
    if (c == 0x0178)
        return 0x00FF;
    const bool evenCapital = (c >= 0x0100 && c <= 0x0137) || (c >= 0x014A && c <= 0x0177);
    const bool oddCapital = (c >= 0x0139 && c <= 0x0148) || (c >= 0x0179 && c <= 0x017E);
    if ((evenCapital && c % 2 == 0) || (oddCapital && c % 2 == 1))
        return static_cast<char16_t>(c + 1);
    return c;
}

char16_t FoldUnit(char16_t c)
{
    if (c < 0x80)
        return c == 0 ? char16_t{0xFFFD} : c;
    if (c == 0x3000)
        return u' ';
    if ((c >= 0x3041 && c <= 0x3096) || c == 0x309D || c == 0x309E)
        return static_cast<char16_t>(c + 0x60);
    if (c >= 0xFF01 && c <= 0xFF5E)
        return static_cast<char16_t>(c - 0xFEE0);
    if (c >= 0xFF61 && c <= 0xFF9F)
        return kHalfWidthKana[c - 0xFF61];
    if (c >= 0xFFE0 && c <= 0xFFEE)
        return kWidthSigns[c - 0xFFE0];
    if (c == 0xFFFF)
        return 0xFFFD;
    return Lower(c);
}

// The voiced (or semi-voiced) katakana of kana, or 0 where it has none.
char16_t Voiced(char16_t kana, bool semi)
{
    const bool haRow = kana >= 0x30CF && kana <= 0x30DB && (kana - 0x30CF) % 3 == 0;
    if (semi)
        return haRow ? static_cast<char16_t>(kana + 2) : char16_t{0};
    if (haRow || (kana >= 0x30AB && kana <= 0x30C1 && kana % 2 == 1) || (kana >= 0x30C4 && kana <= 0x30C8 && kana % 2 == 0) ||
        kana == 0x30FD)
        return static_cast<char16_t>(kana + 1);
    if (kana == 0x30A6)
        return 0x30F4;
    if (kana >= 0x30EF && kana <= 0x30F2)
        return static_cast<char16_t>(kana + 8);
    return 0;
}

bool IsVoicedMark(char16_t c)
{
    return c == 0x3099 || c == 0x309B || c == 0xFF9E;
}

bool IsSemiVoicedMark(char16_t c)
{
    return c == 0x309A || c == 0x309C || c == 0xFF9F;
}

bool IsHighSurrogate(char16_t c)
{
    return c >= 0xD800 && c <= 0xDBFF;
}

bool IsLowSurrogate(char16_t c)
{
    return c >= 0xDC00 && c <= 0xDFFF;
}
} // namespace

void FoldName(std::u16string_view text, std::u16string& out)
{
    const std::size_t start = out.size();
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char16_t c = text[i];
        if (IsHighSurrogate(c) && i + 1 < text.size() && IsLowSurrogate(text[i + 1])) {
            out += c;
            out += text[++i];
        } else if (IsHighSurrogate(c) || IsLowSurrogate(c)) {
            out += char16_t{0xFFFD};
        } else if (IsVoicedMark(c) || IsSemiVoicedMark(c)) {
            const bool semi = IsSemiVoicedMark(c);
            const char16_t voiced = out.size() > start ? Voiced(out.back(), semi) : char16_t{0};
            if (voiced != 0)
                out.back() = voiced;
            else
                out += semi ? char16_t{0x309C} : char16_t{0x309B};
        } else {
            out += FoldUnit(c);
        }
    }
}
