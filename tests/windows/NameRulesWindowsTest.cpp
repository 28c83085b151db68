// The rules Windows adds for names and paths: what could not be written, or would be written
// under another name or open a device, is never a stored name; a path without a drive's root
// or a share depends on a current folder.
#include <gtest/gtest.h>

#include "archive/StoredName.h"
#include "platform/Path.h"

namespace wendmoor {
namespace {

TEST(StoredNameWindowsTest, NamesWindowsCannotHoldAreRefused) {
    const struct {
        std::string name;
        bool safe;
    } cases[] = {
        {"rome.map", true},    {"Ro me.map", true}, {"R\xf6m.map", true},    {"console.map", true},
        {"com0.map", true},    {"con.map", false},  {"CON", false},          {"Nul .txt", false},
        {"aux.tar.gz", false}, {"com1.sav", false}, {"LPT9", false},         {"com\xb9.map", false},
        {"conin$.map", false}, {"a:b.map", false},  {"..\\back.map", false}, {"rome.map.", false},
        {"rome.map ", false},  {"a*b.map", false},  {"a?b.map", false},      {"a\"b.map", false},
        {"a<b>.map", false},   {"a|b.map", false},  {"tab\t.map", false},
    };
    for (const auto& [name, safe] : cases) EXPECT_EQ(IsSafeFileName(name), safe) << name;
    EXPECT_EQ(StoredNameOf("maps/Rome.MAP"), "Rome.map");
    EXPECT_EQ(StoredNameOf("maps/Rome.MAP."), std::nullopt);
    EXPECT_EQ(StoredNameOf("maps\\..\\Rome.MAP"), std::nullopt);
    EXPECT_EQ(StoredNameOf("x/PRN.map"), std::nullopt);
}

TEST(PathWindowsTest, AbsolutePathsNameADriveRootOrAShare) {
    for (const char* path : {"C:\\Games\\", "c:/games/", "\\\\server\\share\\Games\\"}) {
        EXPECT_TRUE(IsAbsolutePath(path)) << path;
    }
    for (const char* path : {"", "Games\\", "C:Games\\", "\\Games\\", "/games/"}) {
        EXPECT_FALSE(IsAbsolutePath(path)) << path;
    }
}

}  // namespace
}  // namespace wendmoor
