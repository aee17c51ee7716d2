#include "app/ExclusionSettings.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace quodle {
namespace {

using Lines = std::vector<std::string>;
#define HYO "\x95\x5C"  // 表: trail byte "\"

TEST(ExclusionSettings, ReadAndWrite) {
    TExclusionSettings defaults;
    EXPECT_EQ(defaults.ActivePrefixes(), (Lines{"*", "GB_"}));
    // A missing key reads as the check's own default.
    const TExclusionSettings missing = ReadExclusionSettings(IniDocument());
    EXPECT_EQ(missing.Star, defaults.Star);
    EXPECT_EQ(missing.Gb, defaults.Gb);
    EXPECT_EQ(missing.Other, defaults.Other);

    IniDocument doc = IniDocument::Parse("[Except]\nCheck1=0\nCheck3=1\nString3=表_\n");
    TExclusionSettings read = ReadExclusionSettings(doc);
    EXPECT_FALSE(read.Star);
    EXPECT_TRUE(read.Gb);
    EXPECT_TRUE(read.Other);
    EXPECT_EQ(read.OtherPrefix, HYO "_");
    EXPECT_EQ(read.ActivePrefixes(), (Lines{"GB_", HYO "_"}));

    read.Gb = false;
    read.OtherPrefix = "my_";
    WriteExclusionSettings(doc, read);
    EXPECT_EQ(doc.Serialize(), "[Except]\nCheck1=0\nCheck3=1\nString3=my_\nCheck2=0\n");
    read.Other = false;
    EXPECT_TRUE(read.ActivePrefixes().empty());
}

}  // namespace
}  // namespace quodle
