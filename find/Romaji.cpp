#include "find/Romaji.h"
#include <string>
#include <vector>

namespace {
// Katakana by their code points, so that the source holds no Japanese text.
constexpr char16_t kSmallYa = 0x30E3, kSmallYu = 0x30E5, kSmallYo = 0x30E7, kSmallTsu = 0x30C3, kN = 0x30F3, kLong = 0x30FC;
constexpr char16_t kVu = 0x30F4, kSmallWa = 0x30EE, kSmallKa = 0x30F5, kSmallKe = 0x30F6;
constexpr char kVowels[] = "aiueo";

struct Syllable {
    std::string romaji;
    std::u16string kana;
};

// The small form of a vowel kana (ア to ァ...), and of ヤ ユ ヨ.
char16_t Small(char16_t kana)
{
    return static_cast<char16_t>(kana - 1);
}

char16_t VowelKana(int vowel)
{
    return static_cast<char16_t>(0x30A2 + 2 * vowel);
}

std::vector<Syllable> MakeSyllables()
{
    std::vector<Syllable> table;
    const auto add = [&table](std::string romaji, std::u16string kana) { table.push_back({std::move(romaji), std::move(kana)}); };
    // The rows of the kana table, a i u e o; 0 where the row has no such kana.
    struct Row {
        const char* consonant;
        char16_t kana[5];
    };
    const Row rows[] = {
        {"", {0x30A2, 0x30A4, 0x30A6, 0x30A8, 0x30AA}},
        {"k", {0x30AB, 0x30AD, 0x30AF, 0x30B1, 0x30B3}}, {"g", {0x30AC, 0x30AE, 0x30B0, 0x30B2, 0x30B4}},
        {"c", {0x30AB, 0x30B7, 0x30AF, 0x30BB, 0x30B3}},
        {"s", {0x30B5, 0x30B7, 0x30B9, 0x30BB, 0x30BD}}, {"z", {0x30B6, 0x30B8, 0x30BA, 0x30BC, 0x30BE}},
        {"t", {0x30BF, 0x30C1, 0x30C4, 0x30C6, 0x30C8}}, {"d", {0x30C0, 0x30C2, 0x30C5, 0x30C7, 0x30C9}},
        {"n", {0x30CA, 0x30CB, 0x30CC, 0x30CD, 0x30CE}},
        {"h", {0x30CF, 0x30D2, 0x30D5, 0x30D8, 0x30DB}}, {"b", {0x30D0, 0x30D3, 0x30D6, 0x30D9, 0x30DC}},
        {"p", {0x30D1, 0x30D4, 0x30D7, 0x30DA, 0x30DD}},
        {"m", {0x30DE, 0x30DF, 0x30E0, 0x30E1, 0x30E2}},
        {"y", {0x30E4, 0x30A4, 0x30E6, 0, 0x30E8}},
        {"r", {0x30E9, 0x30EA, 0x30EB, 0x30EC, 0x30ED}},
        {"w", {0x30EF, 0, 0x30A6, 0, 0x30F2}},
    };
    for (const Row& row : rows)
        for (int v = 0; v < 5; ++v)
            if (row.kana[v] != 0)
                add(std::string(row.consonant) + kVowels[v], std::u16string(1, row.kana[v]));
    // The small kana, as the input method spells them.
    for (const char* prefix : {"x", "l"}) {
        const std::string p = prefix;
        for (int v = 0; v < 5; ++v)
            add(p + kVowels[v], std::u16string(1, Small(VowelKana(v))));
        add(p + "ya", std::u16string(1, kSmallYa));
        add(p + "yu", std::u16string(1, kSmallYu));
        add(p + "yo", std::u16string(1, kSmallYo));
        add(p + "tu", std::u16string(1, kSmallTsu));
        add(p + "tsu", std::u16string(1, kSmallTsu));
        add(p + "wa", std::u16string(1, kSmallWa));
        add(p + "ka", std::u16string(1, kSmallKa));
        add(p + "ke", std::u16string(1, kSmallKe));
    }
    // Contracted syllables: a kana of the i column and a small ャ ュ ョ (ィ ェ for i, e).
    // For sh, ch and j the i alone is the kana itself (shi, chi, ji).
    struct Contracted {
        const char* prefix;
        char16_t kana;
    };
    const Contracted contracted[] = {
        {"ky", 0x30AD}, {"gy", 0x30AE}, {"sy", 0x30B7}, {"sh", 0x30B7}, {"zy", 0x30B8}, {"j", 0x30B8},
        {"jy", 0x30B8}, {"ty", 0x30C1}, {"cy", 0x30C1}, {"ch", 0x30C1}, {"dy", 0x30C2}, {"ny", 0x30CB},
        {"hy", 0x30D2}, {"by", 0x30D3}, {"py", 0x30D4}, {"my", 0x30DF}, {"ry", 0x30EA},
    };
    for (const Contracted& c : contracted) {
        const std::string p = c.prefix;
        const bool plainI = p == "sh" || p == "ch" || p == "j";
        add(p + "a", {c.kana, kSmallYa});
        add(p + "u", {c.kana, kSmallYu});
        add(p + "o", {c.kana, kSmallYo});
        add(p + "e", {c.kana, Small(VowelKana(3))});
        add(p + "i", plainI ? std::u16string(1, c.kana) : std::u16string{c.kana, Small(VowelKana(1))});
    }
    // A kana of the u column (or テ, デ, ウ) with a small vowel: fa, tsa, va, thi, wi.
    struct Foreign {
        const char* prefix;
        char16_t kana;
        const char* vowels;
    };
    const Foreign foreign[] = {
        {"f", 0x30D5, "aieo"}, {"ts", 0x30C4, "aieo"}, {"v", kVu, "aieo"}, {"th", 0x30C6, "i"},
        {"dh", 0x30C7, "i"}, {"w", 0x30A6, "ie"}, {"y", 0x30A4, "e"},
    };
    for (const Foreign& f : foreign)
        for (const char* v = f.vowels; *v != '\0'; ++v)
            add(std::string(f.prefix) + *v, {f.kana, Small(VowelKana(static_cast<int>(std::string_view(kVowels).find(*v))))});
    add("fu", std::u16string(1, 0x30D5));
    add("tsu", std::u16string(1, 0x30C4));
    add("vu", std::u16string(1, kVu));
    add("thu", {0x30C6, kSmallYu});
    add("dhu", {0x30C7, kSmallYu});
    add("nn", std::u16string(1, kN));
    return table;
}

const std::vector<Syllable>& Syllables()
{
    static const std::vector<Syllable> table = MakeSyllables();
    return table;
}

bool IsVowel(char c)
{
    return std::string_view(kVowels).find(c) != std::string_view::npos;
}

bool IsLetter(char c)
{
    return c >= 'a' && c <= 'z';
}

// The longest syllable text starts with, or null.
const Syllable* LongestSyllable(std::string_view text)
{
    const Syllable* best = nullptr;
    for (const Syllable& s : Syllables())
        if (text.substr(0, s.romaji.size()) == s.romaji && (best == nullptr || s.romaji.size() > best->romaji.size()))
            best = &s;
    return best;
}

// The kana that a syllable beginning with text (and longer than it) can start with.
bool StartsOfSyllables(std::string_view text, FindPattern::KanaSet& starts)
{
    bool any = false;
    for (const Syllable& s : Syllables())
        if (s.romaji.size() > text.size() && std::string_view(s.romaji).substr(0, text.size()) == text) {
            starts.Add(s.kana[0]);
            any = true;
        }
    return any;
}
} // namespace

bool RomajiToKana(std::u16string_view text, FindPattern& kana)
{
    std::string ascii;
    for (const char16_t c : text) {
        if (c >= 0x80)
            return false;
        ascii += static_cast<char>(c);
    }
    bool letters = false;
    const std::string_view t = ascii;
    for (std::size_t i = 0; i < t.size();) {
        const char c = t[i];
        const char next = i + 1 < t.size() ? t[i + 1] : '\0';
        if (!IsLetter(c)) {
            if (c != '\'')
                kana.Append(c == '-' ? kLong : static_cast<char16_t>(c));
            ++i;
            continue;
        }
        letters = true;
        if (c == 'n' && next != '\0' && !IsVowel(next) && next != 'y') {
            // ン; a second n goes with it unless a vowel follows, which makes it the next na...
            const char after = i + 2 < t.size() ? t[i + 2] : '\0';
            kana.Append(kN);
            i += (next == 'n' || next == '\'') && !(next == 'n' && (IsVowel(after) || after == 'y')) ? 2 : 1;
            continue;
        }
        if (c == 'm' && (next == 'b' || next == 'p')) {
            kana.Append(kN);
            ++i;
            continue;
        }
        if (!IsVowel(c) && c != 'n' && c != 'l' && c != 'x' && (next == c || (c == 't' && t.substr(i + 1, 2) == "ch"))) {
            kana.Append(kSmallTsu);
            ++i;
            continue;
        }
        if (const Syllable* s = LongestSyllable(t.substr(i))) {
            for (const char16_t k : s->kana)
                kana.Append(k);
            i += s->romaji.size();
            continue;
        }
        FindPattern::KanaSet starts;
        if (!StartsOfSyllables(t.substr(i), starts))
            return false;
        kana.AppendAnyOf(starts);
        break;
    }
    return letters;
}
