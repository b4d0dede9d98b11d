#include <gtest/gtest.h>

#include "codeset/DataDirectory.h"

namespace {

const std::string S(1, kPathSeparator);

TEST(DataDirectory, AddsTheSeparatorOnlyWhenMissing) {
    SetDataDirectory("C:" + S + "prog");
    EXPECT_EQ(GetDataDirectory(), "C:" + S + "prog" + S);
    SetDataDirectory("C:" + S + "prog" + S);
    EXPECT_EQ(GetDataDirectory(), "C:" + S + "prog" + S);
    SetDataDirectory("");
    EXPECT_EQ(GetDataDirectory(), S);
}

TEST(DataDirectory, KeepsTheFirst256Characters) {
    SetDataDirectory(std::string(300, 'a'));
    EXPECT_EQ(GetDataDirectory(), std::string(256, 'a') + S);
}

}  // namespace
