#include "search/FindQuery.h"
#include <algorithm>

namespace {
constexpr int kNameWeight = 4;
constexpr int kDepthCost = 8;

bool IsBlank(char16_t c)
{
    return c == u' ' || c == u'\t' || c == u'\x3000';
}

char16_t Fold(char16_t c)
{
    return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c - u'A' + u'a') : c;
}
} // namespace

std::vector<std::u16string> QueryParts(std::u16string_view text)
{
    std::vector<std::u16string> parts;
    size_t i = 0;
    while (i < text.size()) {
        while (i < text.size() && IsBlank(text[i]))
            ++i;
        const size_t start = i;
        while (i < text.size() && !IsBlank(text[i]))
            ++i;
        if (i > start)
            parts.emplace_back(text.substr(start, i - start));
    }
    return parts;
}

int MatchPart(std::u16string_view part, std::u16string_view name)
{
    // Letters without regard to case, as a substring: the place the Japanese-aware matcher
    // takes over.
    if (part.size() > name.size())
        return -1;
    const auto equal = [](char16_t a, char16_t b) { return Fold(a) == Fold(b); };
    const auto it = std::search(name.begin(), name.end(), part.begin(), part.end(), equal);
    if (it == name.end())
        return -1;
    if (part.size() == name.size())
        return 300;
    return it == name.begin() ? 200 : 100;
}

bool CFindQuery::InFolders(const CSearchIndex& index, std::size_t part, std::uint32_t folder)
{
    std::vector<std::int8_t>& hits = m_folderHits[part];
    if (folder == CSearchIndex::kRoot)
        return false;
    if (hits[folder] < 0)
        hits[folder] = MatchPart(m_parts[part], index.Name(folder)) >= 0 || InFolders(index, part, index.Parent(folder));
    return hits[folder] != 0;
}

const std::vector<FindResult>& CFindQuery::Run(const CSearchIndex& index, std::u16string_view text)
{
    const bool narrows = !m_text.empty() && m_generation == index.Generation() && text.substr(0, m_text.size()) == m_text;
    m_text = text;
    m_generation = index.Generation();
    m_parts = QueryParts(text);
    m_results.clear();
    if (m_parts.empty()) {
        m_text.clear();
        m_matches.clear();
        return m_results;
    }
    m_folderHits.assign(m_parts.size(), std::vector<std::int8_t>(index.Slots(), -1));
    const auto score = [&](std::uint32_t entry, int& total) {
        total = 0;
        for (std::size_t p = 0; p < m_parts.size(); ++p) {
            const int inName = MatchPart(m_parts[p], index.Name(entry));
            if (inName >= 0)
                total += inName * kNameWeight;
            else if (InFolders(index, p, index.Parent(entry)))
                total += 1;
            else
                return false;
        }
        for (std::uint32_t e = index.Parent(entry); e != CSearchIndex::kRoot; e = index.Parent(e))
            total -= kDepthCost;
        return true;
    };
    std::vector<FindResult> matches;
    int total = 0;
    if (narrows) {
        for (const FindResult& previous : m_matches)
            if (score(previous.entry, total))
                matches.push_back({previous.entry, total});
    } else {
        for (std::uint32_t entry = 1; entry < index.Slots(); ++entry)
            if (index.IsLive(entry) && score(entry, total))
                matches.push_back({entry, total});
    }
    m_matches = std::move(matches);
    m_results.assign(m_matches.begin(), m_matches.end());
    const auto better = [&](const FindResult& a, const FindResult& b) {
        if (a.score != b.score)
            return a.score > b.score;
        const size_t la = index.Name(a.entry).size(), lb = index.Name(b.entry).size();
        return la != lb ? la < lb : a.entry < b.entry;
    };
    const size_t shown = std::min(m_results.size(), kShown);
    std::partial_sort(m_results.begin(), m_results.begin() + static_cast<std::ptrdiff_t>(shown), m_results.end(), better);
    m_results.resize(shown);
    return m_results;
}
