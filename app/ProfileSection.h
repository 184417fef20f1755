// One section of an INI file as the profile functions see it, worked on in memory: taken
// from what GetPrivateProfileSectionW gives, looked up and changed as
// GetPrivateProfileStringW and WritePrivateProfileStringW would do it to the file's first
// section of that name, and given back whole for WritePrivateProfileSectionW. So a save
// knows which of its writes change the file, and most saves write it in one call. No
// windows.h, so that it is built and fuzzed natively as well.
#pragma once
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

class ProfileSection {
public:
    ProfileSection() = default;
    // The section's lines as the profile functions list them: each ends with a NUL, and is
    // "name=value", or a name alone for a line without "=". Reading stops at an empty one.
    // Blanks around the name and the value do not count, as in the file.
    explicit ProfileSection(std::u16string_view lines);

    // What GetPrivateProfileStringW puts in a buffer of `size` characters (at least 2) for
    // the first key of that name, ASCII letters in any case: the value without the quotes
    // around it, cut to fit. Empty for a key that is missing or has no "=".
    std::u16string Value(std::u16string_view key, std::size_t size) const;
    // Whether a line of that name is there, with a value, an empty one or no "=".
    bool Has(std::u16string_view key) const { return First(key) != nullptr; }
    // What GetPrivateProfileIntW gives: defaultValue for an empty value, else the number its
    // first 29 characters start with, as RtlUnicodeStringToInteger reads it in base 0.
    std::uint32_t Int(std::u16string_view key, std::uint32_t defaultValue) const;

    // WritePrivateProfileStringW: the first key of that name takes the value, or the key is
    // added at the end. (That call drops blanks before a value; none of the program's has one.)
    // False when the key held that value already, and the file would stay as it is.
    bool Set(std::u16string_view key, std::u16string_view value);
    // WritePrivateProfileStringW with no value: the first key of that name goes. False when
    // there is none.
    bool Remove(std::u16string_view key);
    // A line without "=", which WritePrivateProfileSectionW cannot give back as it stands.
    bool HasBareLine() const;

    // The lines for WritePrivateProfileSectionW, each ended by a NUL. No profile function
    // writes a line without "=": such a line gets one, so that it still reads as empty and
    // still hides the lines of its name after it.
    std::u16string Lines() const;

private:
    struct Line {
        std::u16string name;
        std::optional<std::u16string> value;
    };
    const Line* First(std::u16string_view key) const;

    std::vector<std::optional<Line>> m_lines; // a removed line leaves a gap, so positions stay
    // Position of every line under its name in lower case, first first: a save looks up
    // thousands of keys, and a walk over the lines for each would be quadratic.
    std::unordered_map<std::u16string, std::vector<std::size_t>> m_positions;
};
