// Sorting many names the way the tree sorts one folder's entries.
#include <random>
#include <stdexcept>
#include "tools/bench/FloorOrder.h"
#include "tools/bench/Scenarios.h"
#include "tree/PathHelpers.h"

namespace {
constexpr size_t kNames = 100000;
constexpr size_t kSmokeNames = 1000;

// One character of a script picked at random: ASCII letters of both cases and digits,
// full-width letters, hiragana, katakana, kanji (some with 0x5C as second byte) and
// half-width katakana, as code page 932 bytes.
std::string RandomCharacter(std::mt19937& random)
{
    const auto pick = [&](unsigned count) { return static_cast<char>(random() % count); };
    switch (random() % 8) {
    case 0:
        return {static_cast<char>('A' + pick(26))};
    case 1:
        return {static_cast<char>('a' + pick(26))};
    case 2:
        return {static_cast<char>('0' + pick(10))};
    case 3:
        return {'\x82', static_cast<char>((random() % 2 ? 0x60 : 0x81) + pick(26))};
    case 4:
        return {'\x82', static_cast<char>(0x9F + pick(83))};
    case 5:
        return {'\x83', static_cast<char>(0x40 + pick(63))};
    case 6:
        return {static_cast<char>(0x89 + pick(20)), static_cast<char>(0x40 + pick(63))};
    default:
        return {static_cast<char>(0xA6 + pick(58))};
    }
}

std::vector<std::string> MixedNames(size_t count)
{
    std::mt19937 random(1234); // the same names every run
    std::vector<std::string> names(count);
    for (std::string& name : names)
        for (unsigned length = 3 + random() % 18; length > 0; --length)
            name += RandomCharacter(random);
    return names;
}

template <class Sort>
double TimeSort(const std::vector<std::string>& names, Sort sort)
{
    std::vector<std::string> copy = names;
    const double start = NowMs();
    sort(copy);
    return NowMs() - start;
}
} // namespace

ScenarioResult MeasureSort(const BenchOptions& options)
{
    const std::vector<std::string> names = MixedNames(options.smoke ? kSmokeNames : kNames);
    const FloorOrder floorOrder;
    const auto floor = [&](std::vector<std::string>& list) { floorOrder.Sort(list); };
    std::vector<std::string> fernwickSorted = names, floorSorted = names;
    SortNoCase(fernwickSorted);
    floor(floorSorted); // also asks the system about every two-byte character once
    if (fernwickSorted != floorSorted)
        throw std::runtime_error("the floor's order is not the tree's");
    return Measure("sort", options.Plan(), [&] { return TimeSort(names, [](auto& list) { SortNoCase(list); }); },
                   [&] { return TimeSort(names, floor); });
}
