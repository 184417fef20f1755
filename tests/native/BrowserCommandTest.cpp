// The fallback command line for web pages, on the build machine under the address and
// undefined-behaviour sanitizers.
#include <gtest/gtest.h>
#include <string>
#include <utility>
#include "about/BrowserCommand.h"

namespace {
const std::string kUrl = "https://fernwick.example.org/";

TEST(BrowserCommand, TemplateCutAtItsPlaceholder)
{
    const std::pair<std::string, std::string> cases[] = {
        // Quoted: cut at the opening quote, so the blank before it stays.
        {"prog \"%1\"", "prog  "},
        {"\"C:\\Browser\\b.exe\" -new \"%1\" -tail", "\"C:\\Browser\\b.exe\" -new  "},
        // Bare: cut at the %1, and what follows goes.
        {"prog %1 -x", "prog  "},
        // A quoted placeholder wins over an earlier bare one.
        {"prog %1 \"%1\"", "prog %1  "},
        // None: the whole template.
        {"prog \"%2\"", "prog \"%2\" "},
        {"", " "},
        // A lead byte takes the byte after it along, whatever that byte is.
        {"\x95%1 x", "\x95%1 x "},
        {"\x81\"%1\"", "\x81\" "},
        {"\x83\x5C\x95\x5C \"%1\"", "\x83\x5C\x95\x5C  "},
        {"prog \xFC", "prog \xFC "},
    };
    for (const auto& [commandTemplate, kept] : cases)
        EXPECT_EQ(BrowserCommandLine(commandTemplate, kUrl), kept + kUrl) << commandTemplate;

    // The terminator takes the buffer's last byte.
    const std::string longest(kBrowserCommandSize - 1 - 6, 'u');
    EXPECT_EQ(BrowserCommandLine("prog \"%1\"", longest), "prog  " + longest);
    EXPECT_FALSE(BrowserCommandLine("prog \"%1\"", longest + "u"));
}
} // namespace
