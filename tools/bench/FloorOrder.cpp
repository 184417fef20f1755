#include "tools/bench/FloorOrder.h"
#include <windows.h>
#include <algorithm>
#include <numeric>

namespace {
bool IsLead(unsigned char b)
{
    return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}
} // namespace

std::uint16_t FloorOrder::UpperTwoByte(unsigned char lead, unsigned char trail) const
{
    const auto code = static_cast<std::uint16_t>(lead << 8 | trail);
    std::uint16_t& upper = m_upper[code];
    if (upper != 0)
        return upper;
    upper = code;
    const char in[2] = {static_cast<char>(lead), static_cast<char>(trail)};
    wchar_t wide[2];
    char out[4] = {};
    // Bytes that are no character keep their code: the system would make them its default one.
    if (::MultiByteToWideChar(932, MB_ERR_INVALID_CHARS, in, 2, wide, 2) == 1 &&
        ::LCMapStringA(MAKELCID(0x0411, SORT_DEFAULT), LCMAP_UPPERCASE, in, 2, out, sizeof out) == 2)
        upper = static_cast<std::uint16_t>(static_cast<unsigned char>(out[0]) << 8 | static_cast<unsigned char>(out[1]));
    return upper;
}

void FloorOrder::Sort(std::vector<std::string>& names) const
{
    std::vector<std::uint16_t> keys;
    std::vector<std::size_t> begins(names.size() + 1);
    for (std::size_t i = 0; i < names.size(); ++i) {
        begins[i] = keys.size();
        const std::string& name = names[i];
        for (std::size_t j = 0; j < name.size(); ++j) {
            const auto b = static_cast<unsigned char>(name[j]);
            if (IsLead(b)) {
                if (j + 1 == name.size())
                    break; // a lead byte at the end ends the name
                keys.push_back(UpperTwoByte(b, static_cast<unsigned char>(name[++j])));
            } else {
                keys.push_back(b >= 'A' && b <= 'Z' ? b + ('a' - 'A') : b);
            }
        }
    }
    begins[names.size()] = keys.size();
    std::vector<std::size_t> order(names.size());
    std::iota(order.begin(), order.end(), 0);
    const std::uint16_t* k = keys.data();
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
        return std::lexicographical_compare(k + begins[a], k + begins[a + 1], k + begins[b], k + begins[b + 1]);
    });
    std::vector<std::string> sorted;
    sorted.reserve(names.size());
    for (std::size_t i : order)
        sorted.push_back(std::move(names[i]));
    names = std::move(sorted);
}
