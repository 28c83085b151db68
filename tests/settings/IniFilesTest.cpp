// Settings files as the Qt-based versions of the program wrote them and as a player writes them
// by hand read back the same values, and every value written reads back unchanged.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "TempDir.h"
#include "ZipWriter.h"
#include "platform/SettingsStore.h"

namespace wendmoor::testing {
namespace {

using namespace std::string_literals;

struct Stored {
    const char* name;
    std::string value;
};

// fixtures/written-by-qsettings.conf: each value set through Qt's settings class.
const Stored kWrittenByQt[] = {
    {"ascii", "/home/player/Games/Zeus/"},
    {"utf8", "/home/spieler/\xc3\x84gypten \xe2\x82\xac/\xd0\x9f\xd0\xb8\xd1\x80/"},
    {"not_utf8",
     "/games/C\xe4sar \xff/\xe4"
     "1/"},  // a byte array
    {"commas", "/games/a, b,c/"},
    {"semicolon", "/games/a;b/"},
    {"equals", "/games/a=b/"},
    {"quotes", "/games/\"quoted\"/"},
    {"backslashes", "C:\\Games\\Zeus\\"},
    {"blanks", "  /games/blank/ \t "},
    {"nul",
     "/games/P/\0"
     "1/after/"s},
    {"empty", ""},
    {"at", "@ByteArray(not one)"},
    {"controls",
     "tab\tline\nbell\x07"
     "end\x7f"},
    {"mixed", "\xff@,;\"\\"},
};

// fixtures/written-by-hand.conf: a byte order mark, CRLF, comments, other sections, blanks.
const Stored kWrittenByHand[] = {
    {"zeus_path", "/home/player/Zeus/"},
    {"pharao_path", "/home/spieler/\xc3\x84gypten/"},
    {"emperor_path", "/quoted, with comma/"},
    {"unquoted_list", "/games/a, b,c/"},
    {"noted", "/games/noted/"},        // "; a note" after it
    {"windows_path", "C:pieleeus"},    // a lone backslash drops itself and the next letter
    {"continued", "/games/one/two/"},  // a backslash at the line's end continues it
    {"zeus_saves", "/last/"},          // the last [General] (any case) wins, [Other] never
};

std::string Fixture(const std::string& name) {
    return WENDMOOR_SETTINGS_FIXTURES + name;
}

TEST(IniFilesTest, FilesOfTheEarlierVersionsAndByHandReadTheSame) {
    const struct {
        const char* file;
        std::vector<Stored> values;
    } files[] = {
        {"written-by-qsettings.conf", {std::begin(kWrittenByQt), std::end(kWrittenByQt)}},
        {"written-by-hand.conf", {std::begin(kWrittenByHand), std::end(kWrittenByHand)}},
    };
    for (const auto& [file, values] : files) {
        const auto store = OpenIniSettingsStore(Fixture(file));
        for (const Stored& stored : values) {
            std::string read = "unread";
            EXPECT_TRUE(store->Read(stored.name, read)) << file << " " << stored.name;
            EXPECT_EQ(read, stored.value) << file << " " << stored.name;
        }
        std::string read;
        EXPECT_FALSE(store->Read("missing", read)) << file;
    }
}

// Each value is written into the hand-written file: it reads back, the file's other values
// still read as before, and its comments, sections and line ends stay.
TEST(IniFilesTest, WrittenValuesReadBackAndTheRestOfTheFileStays) {
    std::vector<Stored> values(std::begin(kWrittenByQt), std::end(kWrittenByQt));
    values.push_back({"zeus_saves", "/new/"});  // replaces a line
    values.push_back({"zero",
                      "zero \0"
                      "1 then a digit"s});
    values.push_back({"not_utf8_end", "/\xe4\xff/\xe4"});
    const std::string original = *ReadFileBytes(Fixture("written-by-hand.conf"));
    TempDir dir;
    const std::string file = dir.WriteFile("sub/QARN.conf", original);
    for (const Stored& stored : values) {
        ASSERT_TRUE(OpenIniSettingsStore(file)->Write(stored.name, stored.value).Ok())
            << stored.name;
    }
    const auto store = OpenIniSettingsStore(file);
    for (const Stored& stored : values) {
        std::string read = "unread";
        EXPECT_TRUE(store->Read(stored.name, read)) << stored.name;
        EXPECT_EQ(read, stored.value) << stored.name;
    }
    for (const Stored& stored : kWrittenByHand) {
        std::string read;
        store->Read(stored.name, read);
        if (std::string(stored.name) != "zeus_saves") {
            EXPECT_EQ(read, stored.value) << stored.name;
        }
    }
    const std::string written = *ReadFileBytes(file);
    EXPECT_EQ(written.rfind("\xef\xbb\xbf; Settings, edited by hand\r\n[Window]\r\n", 0), 0u);
    EXPECT_NE(written.find("\r\n; the games\r\n"), std::string::npos);
    EXPECT_NE(written.find("\r\n[Other]\r\nzeus_saves=/other/\r\n"), std::string::npos);
    EXPECT_EQ(written.find("/first/"), std::string::npos);  // the value's earlier line went
    EXPECT_EQ(written.find("\n\n"), std::string::npos);     // only CRLF line ends

    // A file that does not exist yet is made, in a folder made for it.
    const std::string fresh = dir.At("new/folder/QARN.conf");
    ASSERT_TRUE(OpenIniSettingsStore(fresh)->Write("zeus_path", "/z/").Ok());
    EXPECT_EQ(ReadFileBytes(fresh), "[General]\nzeus_path=/z/\n");
}

}  // namespace
}  // namespace wendmoor::testing
