// The settings section in memory: any lines parse without reading past them; no value is
// longer than its buffer; the lines a save writes read back exactly as those it read, also
// after a key of them was set and another removed.
#include "FuzzCheck.h"
#include "app/ProfileSection.h"

namespace {
std::vector<std::u16string> Names(std::u16string_view lines)
{
    std::vector<std::u16string> names;
    for (std::size_t at = 0; at < lines.size() && lines[at] != u'\0';) {
        const std::u16string_view line = lines.substr(at, lines.find(u'\0', at) - at);
        names.emplace_back(line.substr(0, line.find(u'=')));
        at += line.size() + 1;
    }
    return names;
}

void RequireSameReads(const ProfileSection& a, const ProfileSection& b, const std::vector<std::u16string>& names)
{
    for (const std::u16string& name : names) {
        for (std::size_t size : {2u, 30u, 68u, 260u}) {
            Require(a.Value(name, size).size() < size, "a value fits its buffer");
            Require(a.Value(name, size) == b.Value(name, size), "the written lines read as the read ones");
        }
        Require(a.Int(name, 7) == b.Int(name, 7), "numbers read the same");
    }
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::u16string lines(size / 2, u'\0');
    for (std::size_t i = 0; i < lines.size(); ++i)
        lines[i] = static_cast<char16_t>(data[2 * i] | data[2 * i + 1] << 8);
    ProfileSection section(lines);
    std::vector<std::u16string> names = Names(lines);
    names.push_back(u"DirTree0");
    RequireSameReads(section, ProfileSection(section.Lines()), names);

    const std::u16string& key = names.front();
    section.Set(key, u"set");
    Require(section.Value(key, 260) == u"set", "a key set reads back");
    section.Remove(names[names.size() / 2]);
    RequireSameReads(section, ProfileSection(section.Lines()), names);
    return 0;
}
