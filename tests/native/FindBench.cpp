// Not a test: what a find costs. Builds a table of 100,000 synthetic names (ASCII, kana,
// kanji, half-width and mixed) in 11,100 folders, types scripted queries a key at a time,
// and prints the time per key and per candidate. Figures mean something from an optimised
// build without sanitizers:
//   cmake -S . -B build/native-release -G Ninja -DCMAKE_BUILD_TYPE=Release
//   cmake --build build/native-release --target find_bench && build/native-release/bin/find_bench
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <random>
#include <string>
#include <vector>
#include "find/FindQuery.h"
#include "find/FindSearch.h"
#include "find/FindTable.h"

namespace {
// Words of each kind; kana and kanji by code point (the sources hold no Japanese literals).
const std::u16string kWords[] = {
    u"report", u"Notepad", u"setup", u"README", u"final", u"draft", u"invoice", u"Photo", u"backup", u"2023",
    u"tool", u"music", u"MyDocuments", u"HTMLFile", u"config", u"data", u"v1.2", u"memo", u"list", u"old",
    u"\u30E1\u30E2",             // memo (katakana)
    u"\u30C4\u30FC\u30EB",       // tool
    u"\u3057\u3087\u308B\u3044", // shorui (hiragana)
    u"\u5E33",                   // cho (kanji)
    u"\u8CC7\u6599",             // shiryo (kanji)
    u"\u30D5\u30A1\u30A4\u30EB", // fairu
    u"\uFF76\uFF9E\uFF72\uFF84\uFF9E", // gaido (half-width)
    u"\u4F1A\u8B70",             // kaigi (kanji)
    u"\u3081\u3082",             // memo (hiragana)
    u"\u30C7\u30FC\u30BF",       // deta
    u"Caf\u00E9",
    u"\xD83D\xDCC4",             // a page emoji
};
const std::u16string kSeparators[] = {u"_", u" ", u"-", u"", u"."};
const std::u16string kExtensions[] = {u".txt", u".docx", u".xlsx", u".pdf", u".jpg", u"", u".exe"};

std::u16string MakeName(std::mt19937& random, bool folder)
{
    std::u16string name;
    const int words = 1 + static_cast<int>(random() % 3);
    for (int w = 0; w < words; ++w) {
        if (w > 0)
            name += kSeparators[random() % std::size(kSeparators)];
        name += kWords[random() % std::size(kWords)];
    }
    if (!folder)
        name += kExtensions[random() % std::size(kExtensions)];
    return name;
}
} // namespace

int main()
{
    std::mt19937 random(11100);
    FindTable table;
    std::size_t foldedUnits = 0;
    // 100 folders at the root, 10 in each, 10 in each of those: 11,100 folders; then files.
    std::vector<FindTable::Id> folders, level{FindTable::kRoot};
    for (int depth = 0; depth < 3; ++depth) {
        std::vector<FindTable::Id> next;
        for (const FindTable::Id parent : level)
            for (int i = 0; i < (depth == 0 ? 100 : 10); ++i) {
                const auto id = table.Add(MakeName(random, true), parent, true);
                foldedUnits += table.Folded(id).size();
                next.push_back(id);
            }
        folders.insert(folders.end(), next.begin(), next.end());
        level = next;
    }
    while (table.Size() < 111100) {
        const auto id = table.Add(MakeName(random, false), folders[random() % folders.size()], false);
        foldedUnits += table.Folded(id).size();
    }
    const std::size_t entries = table.Size();

    const std::u16string queries[] = {
        u"memo", u"tsu-ru", u"ntpd", u"report 2023", u"\u3081\u3082", u"music final", u"shorui", u"setup.exe",
        u"mydoc", u"\u5E33", u"gaido", u"htmlfile", u"data v1", u"cafe", u"deeta", u"invoice draft pdf",
        u"\uFF2D\uFF25\uFF2D\uFF2F", u"tuuru", u"photo jpg", u"config old", u"kaigi",
    };
    FindSearch search;
    std::vector<FindHit> hits;
    std::vector<double> perKey, cpuPerKey; // wall clock, and this process's processor time
    std::size_t found = 0;
    for (int pass = 0; pass < 3; ++pass)
        for (const std::u16string& query : queries)
            for (std::size_t keys = 1; keys <= query.size(); ++keys) {
                const auto start = std::chrono::steady_clock::now();
                const std::clock_t cpuStart = std::clock();
                const FindQuery q(query.substr(0, keys));
                found += search.Run(table, q, 100, hits);
                const std::chrono::duration<double, std::milli> took = std::chrono::steady_clock::now() - start;
                if (pass > 0) {
                    perKey.push_back(took.count());
                    cpuPerKey.push_back(1000.0 * static_cast<double>(std::clock() - cpuStart) / CLOCKS_PER_SEC);
                }
            }
    std::printf("find_bench: %zu entries (%zu folders), %zu keys typed over %zu queries, %zu hits in all\n", entries,
                folders.size(), perKey.size(), std::size(queries), found);
    for (auto [what, times] : {std::pair{"wall clock", &perKey}, std::pair{"processor time", &cpuPerKey}}) {
        std::sort(times->begin(), times->end());
        double total = 0;
        for (const double ms : *times)
            total += ms;
        std::printf("  %s per key: median %.3f ms, p99 %.3f ms, max %.3f ms; %.1f ns a candidate (mean)\n", what,
                    (*times)[times->size() / 2], (*times)[std::min(times->size() - 1, times->size() * 99 / 100)],
                    times->back(), total * 1e6 / static_cast<double>(times->size() * entries));
    }
    std::printf("  table: %.1f bytes an entry with the buffers' spare room, %.1f of them folded text, %.1f beyond it"
                " (10 without the spare room)\n",
                static_cast<double>(table.Bytes()) / static_cast<double>(entries),
                2.0 * static_cast<double>(foldedUnits) / static_cast<double>(entries),
                (static_cast<double>(table.Bytes()) - 2.0 * static_cast<double>(foldedUnits)) / static_cast<double>(entries));
    return 0;
}
