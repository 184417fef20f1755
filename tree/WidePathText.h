// How the settings file holds a folder path that code page 932 cannot spell: a prefix no
// such path can begin with (no file name holds a colon), then the path's UTF-8, every byte
// but letters, digits and \ . - _ written as %XX. Plain ASCII, so the profile functions keep
// it as it is, and older builds take it for a folder that does not exist. No windows.h: it
// is built natively and fuzzed.
#pragma once
#include <string>

constexpr char kWidePathPrefix[] = ":utf-8:";

std::string EncodeWidePath(const std::u16string& path);
// The path back; false when text is not in this form or is broken (bad escape, bad UTF-8).
bool DecodeWidePath(const std::string& text, std::u16string& path);
