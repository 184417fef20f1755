#include "tree/WidePathText.h"
#include <cstdint>
#include <string_view>

namespace {
bool Plain(unsigned char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '\\' || c == '.' ||
           c == '-' || c == '_';
}

void AppendUtf8(std::string& out, std::uint32_t code)
{
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | code >> 6);
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        out += static_cast<char>(0xE0 | code >> 12);
        out += static_cast<char>(0x80 | (code >> 6 & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | code >> 18);
        out += static_cast<char>(0x80 | (code >> 12 & 0x3F));
        out += static_cast<char>(0x80 | (code >> 6 & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

int HexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1; // the encoder writes upper case only
}

// The UTF-16 of UTF-8 bytes; false for anything but the shortest form of valid characters.
bool FromUtf8(std::string_view bytes, std::u16string& out)
{
    for (std::size_t i = 0; i < bytes.size();) {
        const auto lead = static_cast<unsigned char>(bytes[i]);
        const int length = lead < 0x80 ? 1 : (lead & 0xE0) == 0xC0 ? 2 : (lead & 0xF0) == 0xE0 ? 3 : (lead & 0xF8) == 0xF0 ? 4 : 0;
        if (length == 0 || i + length > bytes.size())
            return false;
        std::uint32_t code = length == 1 ? lead : lead & (0x7F >> length);
        for (int k = 1; k < length; ++k) {
            const auto next = static_cast<unsigned char>(bytes[i + k]);
            if ((next & 0xC0) != 0x80)
                return false;
            code = code << 6 | (next & 0x3F);
        }
        constexpr std::uint32_t kShortest[] = {0, 0, 0x80, 0x800, 0x10000};
        if (code < kShortest[length] || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
            return false;
        if (code >= 0x10000) {
            out += static_cast<char16_t>(0xD800 + ((code - 0x10000) >> 10));
            out += static_cast<char16_t>(0xDC00 + ((code - 0x10000) & 0x3FF));
        } else {
            out += static_cast<char16_t>(code);
        }
        i += static_cast<std::size_t>(length);
    }
    return true;
}
} // namespace

std::string EncodeWidePath(const std::u16string& path)
{
    std::string utf8;
    for (std::size_t i = 0; i < path.size(); ++i) {
        std::uint32_t code = path[i];
        const bool high = code >= 0xD800 && code <= 0xDBFF;
        if (high && i + 1 < path.size() && path[i + 1] >= 0xDC00 && path[i + 1] <= 0xDFFF)
            code = 0x10000 + ((code - 0xD800) << 10) + (path[++i] - 0xDC00);
        else if (code >= 0xD800 && code <= 0xDFFF)
            code = 0xFFFD; // a lone half of a pair has no UTF-8
        AppendUtf8(utf8, code);
    }
    static const char kHex[] = "0123456789ABCDEF";
    std::string text = kWidePathPrefix;
    for (const char c : utf8) {
        const auto b = static_cast<unsigned char>(c);
        if (Plain(b)) {
            text += c;
        } else {
            text += '%';
            text += kHex[b >> 4];
            text += kHex[b & 0xF];
        }
    }
    return text;
}

bool DecodeWidePath(const std::string& text, std::u16string& path)
{
    const std::string_view prefix = kWidePathPrefix;
    if (text.compare(0, prefix.size(), prefix) != 0)
        return false;
    std::string utf8;
    for (std::size_t i = prefix.size(); i < text.size(); ++i) {
        if (text[i] != '%') {
            if (!Plain(static_cast<unsigned char>(text[i])))
                return false;
            utf8 += text[i];
            continue;
        }
        const int high = i + 2 < text.size() ? HexValue(text[i + 1]) : -1;
        const int low = i + 2 < text.size() ? HexValue(text[i + 2]) : -1;
        // A byte written plain where it may be: one text for each path.
        if (high < 0 || low < 0 || Plain(static_cast<unsigned char>(high << 4 | low)))
            return false;
        utf8 += static_cast<char>(high << 4 | low);
        i += 2;
    }
    path.clear();
    return FromUtf8(utf8, path);
}
