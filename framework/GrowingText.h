// Reading a text of a length not known beforehand, the one way for every such call.
#pragma once
#include <windows.h>
#include <algorithm>
#include <string>

// read(buffer, size) writes into the buffer and returns the length it wrote, or the size it
// needs. A length that fills the buffer may be a cut text (LoadString, GetModuleFileName):
// the buffer grows until the text fits with room to spare.
template <class Char, class Read>
std::basic_string<Char> AfxReadGrowing(Read read, size_t size = MAX_PATH)
{
    std::basic_string<Char> text(size, Char());
    for (;;) {
        const size_t length = read(text.data(), text.size());
        if (length + 1 < text.size()) {
            text.resize(length);
            return text;
        }
        text.resize(std::max(text.size() * 2, length + 2));
    }
}
