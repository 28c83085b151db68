// A settings line printed by the program reads back through the settings store byte for byte.
#include <string>

#include <gtest/gtest.h>

#include "TempDir.h"
#include "platform/IniLine.h"
#include "platform/SettingsStore.h"

namespace wendmoor {
namespace {

TEST(IniLineTest, EveryValueReadsBackUnchanged) {
    const std::string values[] = {
        "/home/player/Games/Zeus/",
        "",
        " leading and trailing ",
        "a, b; c = d",
        "quote \" and backslash \\ and C:\\Games\\",
        "tab\tnew line\ncontrol \x01"
        "1f \x7f",
        "@ByteArray(not one)",
        "UTF-8 \xc3\xa4\xe2\x82\xac",
        "/not UTF-8 \xe4\xff/\xe4"
        "1/",
        "\xff@,;\"",
        std::string("zero \0"
                    "1 then a digit",
                    20),
    };
    testing::TempDir dir;
    for (const std::string& value : values) {
        const std::string file = dir.WriteFile(
            "line.ini", "; a comment\n[General]\n" + IniSettingsLine("v", value) + "\n");
        std::string read = "unread";
        EXPECT_TRUE(OpenIniSettingsStore(file)->Read("v", read)) << value;
        EXPECT_EQ(read, value) << IniSettingsLine("v", value);
    }
}

}  // namespace
}  // namespace wendmoor
