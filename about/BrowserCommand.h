// The command line that opens a URL with the program registered for web pages, made from
// that program's open-command template. Code page 932 text; no windows.h, so that it is
// built and fuzzed natively as well.
#pragma once
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

// The command line is built in a buffer of this many bytes, terminator included.
constexpr std::size_t kBrowserCommandSize = 520;

// The template cut at its placeholder (at the opening quote of a quoted "%1", else at a
// bare %1; a template without one stays whole), then a blank and the URL. Nothing when
// that does not fit kBrowserCommandSize.
std::optional<std::string> BrowserCommandLine(std::string_view commandTemplate, std::string_view url);
