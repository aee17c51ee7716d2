#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <stdexcept>

#include "base/LineFile.h"

namespace quodle {
namespace {

TEST(LineFile, SplitsAtEveryBreakKind) {
    using V = std::vector<std::string>;
    struct Case {
        std::string in;
        V out;
    } cases[] = {
        {"", V{}},
        {"a", V{"a"}},
        {"a\r\n", V{"a"}},
        {"a\r\nb\rc\nd", V{"a", "b", "c", "d"}},
        {"a\r\n\r\n", V{"a", ""}},
        {"\r\r\n\n", V{"", "", ""}},
        {"a\n\r", V{"a", ""}},
        {"a\r\nb\x1A\r\nc", V{"a", "b"}},
        {std::string("\x1A" "a", 2), V{}},
        {std::string("a\0b", 3), V{std::string("a\0b", 3)}},
        {"\x95\x5C\r\n\x83\x7C", V{"\x95\x5C", "\x83\x7C"}},
    };
    for (const auto& c : cases) EXPECT_EQ(SplitLinesCp932(c.in), c.out);
}

TEST(LineFile, ReadsFileAndNamesPathOnFailure) {
    const std::string path = testing::TempDir() + "quodle_linefile.lsp";
    {
        std::ofstream(path, std::ios::binary) << "(a)\r\n;b\r";
    }
    EXPECT_EQ(ReadLinesCp932(path), (std::vector<std::string>{"(a)", ";b"}));
    std::remove(path.c_str());
    try {
        ReadLinesCp932(path);
        FAIL() << "no exception";
    } catch (const std::runtime_error& e) {
        EXPECT_EQ(std::string(e.what()), path + ": No such file or directory");
    }
    EXPECT_THROW(ReadLinesCp932(testing::TempDir()), std::runtime_error);
}

}  // namespace
}  // namespace quodle
