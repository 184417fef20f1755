#include "tools/bench/FloorFind.h"
#include <windows.h>
#include <algorithm>
#include <deque>
#include <stdexcept>
#include <utility>

namespace {
constexpr std::size_t kMaxParts = 32;

wchar_t Lower(wchar_t c)
{
    return c >= L'A' && c <= L'Z' ? static_cast<wchar_t>(c + 32) : c;
}

bool IsUpper(wchar_t c)
{
    return c >= L'A' && c <= L'Z';
}

bool IsLower(wchar_t c)
{
    return c >= L'a' && c <= L'z';
}

int Script(wchar_t c) // 0 none, 1 letter, 2 digit
{
    return IsUpper(c) || IsLower(c) ? 1 : c >= L'0' && c <= L'9' ? 2 : 0;
}

bool StartsWord(std::wstring_view name, std::size_t i)
{
    if (i == 0)
        return true;
    const wchar_t before = name[i - 1], c = name[i];
    if (before == L' ' || before == L'_' || before == L'-' || before == L'.')
        return true;
    if (IsUpper(c) && (IsLower(before) || (IsUpper(before) && i + 1 < name.size() && IsLower(name[i + 1]))))
        return true;
    return Script(c) != 0 && Script(c) != Script(before);
}

// Some way to take the part in order where each piece begins a word.
bool ByInitials(std::wstring_view part, std::wstring_view name)
{
    const std::size_t m = part.size();
    if (m > 64)
        return false;
    bool reached[65] = {true}; // the first j units taken, the last anywhere before
    bool adjacent[65] = {};    // the first j units taken, the last just before
    for (std::size_t i = 0; i < name.size(); ++i) {
        const bool word = StartsWord(name, i);
        const wchar_t c = Lower(name[i]);
        bool next[65] = {};
        for (std::size_t j = 0; j < m; ++j)
            if (part[j] == c && ((word && reached[j]) || adjacent[j])) {
                if (j + 1 == m)
                    return true;
                next[j + 1] = true;
            }
        for (std::size_t j = 0; j <= m; ++j) {
            adjacent[j] = next[j];
            reached[j] = reached[j] || next[j];
        }
    }
    return false;
}

std::vector<std::wstring> Parts(std::wstring_view query)
{
    std::vector<std::wstring> parts;
    std::wstring part;
    for (std::size_t i = 0; i <= query.size() && parts.size() < kMaxParts; ++i) {
        const wchar_t c = i < query.size() ? query[i] : L' ';
        if (c > 0x7F && c != 0x3000)
            throw std::runtime_error("the floor's search takes ASCII queries only");
        if (c != L' ' && c != L'\t' && c != 0x3000) {
            part += Lower(c);
            continue;
        }
        if (!part.empty() && std::find(parts.begin(), parts.end(), part) == parts.end())
            parts.push_back(part);
        part.clear();
    }
    return parts;
}
} // namespace

FloorFind::FloorFind(const std::wstring& root) : m_root(root)
{
    std::deque<std::pair<std::uint32_t, std::wstring>> folders{{kTop, root}};
    while (!folders.empty()) {
        const auto [folder, path] = std::move(folders.front());
        folders.pop_front();
        WIN32_FIND_DATAW data;
        const HANDLE find = ::FindFirstFileExW((path + L"\\*").c_str(), FindExInfoBasic, &data, FindExSearchNameMatch,
                                               nullptr, FIND_FIRST_EX_LARGE_FETCH);
        if (find == INVALID_HANDLE_VALUE)
            continue;
        do {
            const wchar_t* name = data.cFileName;
            if ((name[0] == L'.' && (name[1] == 0 || (name[1] == L'.' && name[2] == 0))) ||
                (data.dwFileAttributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_TEMPORARY)))
                continue;
            const auto entry = static_cast<std::uint32_t>(m_parent.size());
            const bool isFolder = (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
            m_names.insert(m_names.end(), name, name + std::wcslen(name));
            m_start.push_back(static_cast<std::uint32_t>(m_names.size()));
            m_parent.push_back(folder);
            m_folder.push_back(isFolder);
            if (isFolder)
                folders.emplace_back(entry, path + L'\\' + name);
        } while (::FindNextFileW(find, &data));
        ::FindClose(find);
    }
}

bool FloorFind::AsciiOnly() const
{
    return std::all_of(m_names.begin(), m_names.end(), [](wchar_t c) { return c >= 0x20 && c < 0x7F; });
}

std::wstring FloorFind::FolderBelowRoot(std::uint32_t entry) const
{
    std::wstring path;
    for (std::uint32_t e = m_parent[entry]; e != kTop; e = m_parent[e])
        path = path.empty() ? std::wstring(Name(e)) : std::wstring(Name(e)) + L'\\' + path;
    return path;
}

std::wstring FloorFind::RelativePath(std::uint32_t entry) const
{
    const std::wstring folder = FolderBelowRoot(entry);
    return folder.empty() ? std::wstring(Name(entry)) : folder + L'\\' + std::wstring(Name(entry));
}

FloorFind::Match FloorFind::MatchPart(std::wstring_view part, std::wstring_view name)
{
    const std::size_t m = part.size(), n = name.size();
    if (m == 0 || m > n)
        return {};
    // The first place where the whole part has been seen in order.
    std::size_t end = n;
    for (std::size_t i = 0, j = 0; i < n; ++i)
        if (Lower(name[i]) == part[j] && ++j == m) {
            end = i;
            break;
        }
    if (end == n)
        return {};
    unsigned substring = 0;
    for (std::size_t at = 0; at + m <= n; ++at) {
        std::size_t j = 0;
        while (j < m && Lower(name[at + j]) == part[j])
            ++j;
        if (j < m)
            continue;
        if (at == 0)
            return {m == n ? 6u : 5u, 1};
        if (StartsWord(name, at))
            return {4, 1};
        substring = 3;
    }
    if (substring != 0)
        return {substring, 1};
    // Backwards from there, each unit as late as it can be taken: the tightest match.
    std::size_t j = m, runStart = n;
    unsigned runs = 0;
    bool wordRuns = true;
    for (std::size_t i = end + 1; j > 0 && i > 0;) {
        --i;
        if (Lower(name[i]) != part[j - 1])
            continue;
        if (runStart != n && runStart != i + 1) {
            ++runs;
            wordRuns = wordRuns && StartsWord(name, runStart);
        }
        runStart = i;
        --j;
    }
    ++runs;
    wordRuns = wordRuns && StartsWord(name, runStart);
    return {wordRuns || ByInitials(part, name) ? 2u : 1u, runs};
}

std::size_t FloorFind::Search(std::wstring_view query, std::size_t limit, std::vector<std::uint32_t>& best)
{
    best.clear();
    const std::vector<std::wstring> parts = Parts(query);
    const std::size_t n = Size();
    bool narrows = m_candidate.size() == n && !m_lastParts.empty() && parts.size() >= m_lastParts.size();
    for (std::size_t p = 0; narrows && p < m_lastParts.size(); ++p)
        narrows = parts[p].compare(0, m_lastParts[p].size(), m_lastParts[p]) == 0;
    m_lastParts = parts;
    if (parts.empty())
        return 0;
    if (!narrows)
        m_candidate.assign(n, 1);
    if (m_depth.size() != n) {
        m_depth.assign(n, 0);
        for (std::uint32_t e = 0; e < n; ++e)
            m_depth[e] = m_parent[e] == kTop ? 0 : static_cast<std::uint16_t>(m_depth[m_parent[e]] + 1);
    }
    m_pathTier.assign(n, 0);
    m_value.assign(n, 0);
    m_runs.assign(n, 0);
    for (const std::wstring& part : parts)
        for (std::uint32_t e = 0; e < n; ++e) {
            if (!m_candidate[e] && !m_folder[e])
                continue;
            const unsigned above = m_parent[e] == kTop ? 0 : m_pathTier[m_parent[e]];
            const Match match = MatchPart(part, Name(e));
            if (m_folder[e])
                m_pathTier[e] = static_cast<std::uint8_t>(std::max(match.tier, above));
            if (!m_candidate[e])
                continue;
            if (match.tier == 0 && above == 0) {
                m_candidate[e] = 0;
                continue;
            }
            const bool byName = 2 * match.tier >= above;
            m_value[e] += byName ? 2 * match.tier : above;
            m_runs[e] += byName ? match.runs : 1;
        }
    for (std::uint32_t e = 0; e < n; ++e)
        if (m_candidate[e])
            best.push_back(e);
    const std::size_t total = best.size();
    const auto before = [this](std::uint32_t a, std::uint32_t b) {
        if (m_value[a] != m_value[b])
            return m_value[a] > m_value[b];
        if (m_runs[a] != m_runs[b])
            return m_runs[a] < m_runs[b];
        if (m_depth[a] != m_depth[b])
            return m_depth[a] < m_depth[b];
        const std::size_t la = m_start[a + 1] - m_start[a], lb = m_start[b + 1] - m_start[b];
        return la != lb ? la < lb : a < b;
    };
    const std::size_t kept = std::min(limit, total);
    std::partial_sort(best.begin(), best.begin() + static_cast<std::ptrdiff_t>(kept), best.end(), before);
    best.resize(kept);
    return total;
}
