// The fallback command line for web pages, on the build machine under the address and
// undefined-behaviour sanitizers.
#include <gtest/gtest.h>
#include <random>
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

// Random templates of the bytes that matter: the command is a part of the template, cut
// only where a placeholder begins, then a blank and the URL; or nothing when too long.
TEST(BrowserCommand, RandomTemplates)
{
    std::mt19937 random(20260);
    const char bytes[] = {'"', '%', '1', ' ', 'a', '\\', '\x81', '\x95', '\x5C', '\xFC', '\0'};
    for (int round = 0; round < 20000; ++round) {
        std::string commandTemplate(random() % 24, ' ');
        for (char& c : commandTemplate)
            c = bytes[random() % std::size(bytes)];
        const std::string url(random() % 600, 'u');
        const auto command = BrowserCommandLine(commandTemplate, url);
        if (!command) {
            EXPECT_GE(url.size() + 1, kBrowserCommandSize - commandTemplate.size());
            continue;
        }
        ASSERT_LT(command->size(), kBrowserCommandSize);
        const std::string tail = ' ' + url;
        ASSERT_GE(command->size(), tail.size());
        EXPECT_EQ(command->substr(command->size() - tail.size()), tail);
        const std::string kept = command->substr(0, command->size() - tail.size());
        ASSERT_EQ(commandTemplate.substr(0, kept.size()), kept);
        if (kept.size() < commandTemplate.size()) {
            EXPECT_TRUE(commandTemplate.compare(kept.size(), 2, "%1") == 0 ||
                        commandTemplate.compare(kept.size(), 4, "\"%1\"") == 0)
                << commandTemplate;
        }
    }
}
} // namespace
