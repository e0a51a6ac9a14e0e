#include "app/core/command_line.h"

#include <gtest/gtest.h>

using namespace vornik;

namespace {

TEST(WindowArgumentsTest, SavedSearchNameAndItemName)
{
    struct Case {
        std::vector<std::string> arguments;
        std::optional<std::string> saved;
        std::optional<std::string> item;
    };
    const std::vector<Case> cases {
        { { "--saved", "my search" }, "my search", std::nullopt },
        { { "--saved=a b" }, "a b", std::nullopt },
        { { "--saved" }, std::nullopt, std::nullopt }, // no name follows
        { { "--savedx", "n" }, std::nullopt, std::nullopt },
        { { "/i=sword", "of", "ice" }, std::nullopt, "sword of ice" },
        { {}, std::nullopt, std::nullopt },
    };
    for (const Case& c : cases) {
        EXPECT_EQ(savedSearchFromArguments(c.arguments), c.saved);
        EXPECT_EQ(searchNameFromArguments(c.arguments), c.item);
    }
}

} // namespace
