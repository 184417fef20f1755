#include "app/ProfileSection.h"
#include <algorithm>
#include "mbcs/Blanks.h"

namespace {
// Names compare with blanks around them dropped and ASCII letters folded, as the profile
// functions find a key.
std::u16string Folded(std::u16string_view name)
{
    std::u16string folded(TrimBlanks(name));
    for (char16_t& c : folded)
        if (c >= u'A' && c <= u'Z')
            c = static_cast<char16_t>(c - u'A' + u'a');
    return folded;
}

int Digit(char16_t c)
{
    if (c >= u'0' && c <= u'9')
        return c - u'0';
    if (c >= u'A' && c <= u'Z')
        return c - u'A' + 10;
    if (c >= u'a' && c <= u'z')
        return c - u'a' + 10;
    return 36;
}

// RtlUnicodeStringToInteger in base 0: control characters and blanks, a sign, "0b", "0o" or
// "0x" in lower case for the base, then digits up to the first that is none; 32 bits, wrapping.
std::uint32_t Number(std::u16string_view text)
{
    std::size_t i = 0;
    while (i < text.size() && text[i] <= u' ')
        ++i;
    const bool negative = i < text.size() && text[i] == u'-';
    if (i < text.size() && (text[i] == u'-' || text[i] == u'+'))
        ++i;
    unsigned base = 10;
    if (text.size() - i >= 2 && text[i] == u'0') {
        const char16_t prefix = text[i + 1];
        base = prefix == u'b' ? 2 : prefix == u'o' ? 8 : prefix == u'x' ? 16 : 10;
        if (base != 10)
            i += 2;
    }
    std::uint32_t total = 0;
    for (; i < text.size() && static_cast<unsigned>(Digit(text[i])) < base; ++i)
        total = total * base + static_cast<unsigned>(Digit(text[i]));
    return negative ? 0u - total : total;
}
} // namespace

ProfileSection::ProfileSection(std::u16string_view lines)
{
    while (!lines.empty() && lines.front() != u'\0') {
        const std::u16string_view line = lines.substr(0, lines.find(u'\0'));
        lines.remove_prefix(std::min(line.size() + 1, lines.size()));
        const std::size_t equals = line.find(u'=');
        Line parsed{std::u16string(TrimBlanks(line.substr(0, equals))), std::nullopt};
        if (equals != std::u16string_view::npos)
            parsed.value = std::u16string(TrimBlanks(line.substr(equals + 1)));
        m_positions[Folded(parsed.name)].push_back(m_lines.size());
        m_lines.emplace_back(std::move(parsed));
    }
}

const ProfileSection::Line* ProfileSection::First(std::u16string_view key) const
{
    const auto found = m_positions.find(Folded(key));
    return found == m_positions.end() || found->second.empty() ? nullptr : &*m_lines[found->second.front()];
}

std::u16string ProfileSection::Value(std::u16string_view key, std::size_t size) const
{
    const Line* line = First(key);
    if (line == nullptr || !line->value)
        return {};
    std::u16string_view value = *line->value;
    // A value in matching quotes loses them; when it only just fits, the system drops the
    // character before the closing quote as well.
    const bool quoted =
        value.size() > 1 && (value.front() == u'"' || value.front() == u'\'') && value.back() == value.front();
    if (quoted)
        value.remove_prefix(1);
    std::u16string copy(value.substr(0, size - 1));
    if (quoted && size >= value.size() && !copy.empty())
        copy.pop_back();
    return copy;
}

std::uint32_t ProfileSection::Int(std::u16string_view key, std::uint32_t defaultValue) const
{
    const std::u16string value = Value(key, 30);
    return value.empty() ? defaultValue : Number(value);
}

bool ProfileSection::Set(std::u16string_view key, std::u16string_view value)
{
    std::vector<std::size_t>& positions = m_positions[Folded(key)];
    if (positions.empty()) {
        positions.push_back(m_lines.size());
        m_lines.emplace_back(Line{std::u16string(TrimBlanks(key)), std::nullopt});
    }
    std::optional<std::u16string>& held = m_lines[positions.front()]->value;
    if (held && *held == value)
        return false;
    held = std::u16string(value);
    return true;
}

bool ProfileSection::Remove(std::u16string_view key)
{
    const auto found = m_positions.find(Folded(key));
    if (found == m_positions.end() || found->second.empty())
        return false;
    m_lines[found->second.front()].reset();
    found->second.erase(found->second.begin());
    return true;
}

bool ProfileSection::HasBareLine() const
{
    return std::any_of(m_lines.begin(), m_lines.end(),
                       [](const std::optional<Line>& line) { return line && !line->value; });
}

std::u16string ProfileSection::Lines() const
{
    std::u16string lines;
    for (const std::optional<Line>& line : m_lines)
        if (line)
            lines += line->name + u'=' + line->value.value_or(u"") + u'\0';
    return lines;
}
