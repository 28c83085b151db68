// Adding a file from anywhere to a game's missions folder: only packages of that game, never
// over a file already there.
#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "GameTree.h"
#include "packages/Games.h"
#include "packages/PackageAdder.h"

namespace wendmoor {
namespace {

using testing::ReadFileBytes;
using testing::ZipWriter;
using Outcome = AddResult::Outcome;

const std::string kPackage = ZipWriter().Add("Rome.map", "map").Bytes();
const std::string kOtherPackage = ZipWriter().Add("Rome.map", "another map").Bytes();

struct AddCase {
    const char* what;
    std::vector<std::pair<std::string, std::string>> there;  // in the missions folder already
    std::string file;                                        // the file added, from elsewhere
    std::string bytes;
    std::optional<bool> keepBoth;  // the answer; nothing: the question must not come
    Outcome outcome;
    std::string name;    // as AddResult reports it
    std::string reason;  // for Refused and Failed
    std::string folder;  // the missions folder afterwards: "NAME=BYTES;" sorted by name
};

const AddCase kCases[] = {
    {"a package is copied",
     {},
     "Rome.zip",
     kPackage,
     {},
     Outcome::Added,
     "Rome.zip",
     "",
     "Rome.zip=P;"},
    {"a ZIP without a map or save is refused",
     {},
     "readme.zip",
     ZipWriter().Add("readme.txt", "hi").Bytes(),
     {},
     Outcome::Refused,
     "readme.zip",
     "is no Caesar III package: it holds nothing Caesar III installs",
     ""},
    {"a file that is no ZIP is refused",
     {},
     "Rome.zip",
     "MZ no archive",
     {},
     Outcome::Refused,
     "Rome.zip",
     "is no ZIP archive that can be read",
     ""},
    {"the same bytes under the same name: nothing to do",
     {{"ROME.ZIP", kPackage}},
     "rome.zip",
     kPackage,
     {},
     Outcome::AlreadyThere,
     "ROME.ZIP",
     "",
     "ROME.ZIP=P;"},
    {"other bytes, keep both",
     {{"rome.ZIP", kOtherPackage}},
     "Rome.zip",
     kPackage,
     true,
     Outcome::Added,
     "Rome (2).zip",
     "",
     "Rome (2).zip=P;rome.ZIP=O;"},
    {"other bytes, keep both, (2) taken as well",
     {{"Rome.zip", kOtherPackage}, {"rome (2).zip", kOtherPackage}},
     "Rome.zip",
     kPackage,
     true,
     Outcome::Added,
     "Rome (3).zip",
     "",
     "Rome (3).zip=P;Rome.zip=O;rome (2).zip=O;"},
    {"other bytes, skip",
     {{"Rome.zip", kOtherPackage}},
     "Rome.zip",
     kPackage,
     false,
     Outcome::Skipped,
     "Rome.zip",
     "",
     "Rome.zip=O;"},
};

class PackageAdderTest : public testing::GameSessionTest {
  protected:
    std::string Folder() {
        std::string listing;
        for (const std::string& name : ListFolder(paths.caesar3_missions)) {
            const std::string bytes = ReadFileBytes(paths.caesar3_missions + name).value_or("?");
            listing += name + "=" +
                       (bytes == kPackage        ? "P"
                        : bytes == kOtherPackage ? "O"
                                                 : bytes) +
                       ";";
        }
        return listing;
    }
    std::vector<std::string> ListFolder(const std::string& folder) {
        std::vector<FileSystem::FolderEntry> entries;
        fileSystem.ListFolder(folder, entries);
        std::vector<std::string> names;
        for (const auto& entry : entries) names.push_back(entry.name);
        std::sort(names.begin(), names.end());
        return names;
    }
};

TEST_F(PackageAdderTest, AddsPackagesAndNeverOverwrites) {
    for (const AddCase& test : kCases) {
        SCOPED_TRACE(test.what);
        testing::TempDir elsewhere;
        testing::TempDir missions;
        paths.caesar3_missions = missions.path();
        for (const auto& [name, bytes] : test.there) missions.WriteFile(name, bytes);
        const std::string file = elsewhere.WriteFile(test.file, test.bytes);

        int asked = 0;
        const AddResult result = AddPackageFile(
            fileSystem, *FindGame(kCaesar3), paths, file,
            [&](const std::string&, const std::string&) { return ++asked, *test.keepBoth; });

        EXPECT_EQ(asked, test.keepBoth ? 1 : 0);
        EXPECT_EQ(result.outcome, test.outcome);
        EXPECT_EQ(result.name, test.name);
        EXPECT_EQ(result.reason, test.reason);
        EXPECT_EQ(Folder(), test.folder);
        EXPECT_EQ(ReadFileBytes(file), test.bytes);  // the original stays where it was
    }
}

TEST_F(PackageAdderTest, AMissingFileOrMissionsFolderFails) {
    AddResult result =
        AddPackageFile(fileSystem, *FindGame(kCaesar3), paths, dir.path() + "gone.zip", nullptr);
    EXPECT_EQ(result.outcome, Outcome::Failed);
    EXPECT_EQ(result.reason, "is no file that can be read");

    const std::string file = dir.WriteFile("Rome.zip", kPackage);
    paths.caesar3_missions = dir.path() + "not there/";
    result = AddPackageFile(fileSystem, *FindGame(kCaesar3), paths, file, nullptr);
    EXPECT_EQ(result.outcome, Outcome::Failed);
    EXPECT_EQ(result.reason, "the missions folder " + paths.caesar3_missions + " does not exist");
}

}  // namespace
}  // namespace wendmoor
