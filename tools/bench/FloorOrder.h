// The floors' own order of names, written apart from the program's: ASCII letters as lower
// case, a two-byte character by the system's upper case of it, any other byte as itself,
// each name's values worked out once into one buffer before the sort compares them.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

class FloorOrder {
public:
    // Stable: equal names keep their order.
    void Sort(std::vector<std::string>& names) const;

private:
    std::uint16_t UpperTwoByte(unsigned char lead, unsigned char trail) const;

    // Two-byte characters the system was asked about, by code: 0 until then.
    mutable std::vector<std::uint16_t> m_upper = std::vector<std::uint16_t>(0x10000, 0);
};
