// Adding a file from anywhere to a game's missions folder: only packages of that game, never
// over a file already there.
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "GameTree.h"
#include "packages/PackageAdder.h"

namespace wendmoor::testing {
namespace {

using Outcome = AddResult::Outcome;

const std::string kPackage = ZipWriter().Add("Rome.map", "map").Bytes();
const std::string kOtherPackage = ZipWriter().Add("Rome.map", "another map").Bytes();
const std::string kReadme = ZipWriter().Add("readme.txt", "hi").Bytes();

// Files' bytes in the cases: P the package, O another package, R a ZIP of a readme alone; any
// other text stands for itself.
const std::string& BytesOf(const std::string& code) {
    return code == "P" ? kPackage : code == "O" ? kOtherPackage : code == "R" ? kReadme : code;
}

struct AddCase {
    const char* what;
    std::string there;  // the missions folder before: "NAME=BYTES;" sorted by name
    std::string file;   // the file added, from elsewhere
    std::string bytes;
    std::optional<bool> keepBoth;  // the answer; nothing: the question must not come
    std::string result;            // "OUTCOME NAME[: REASON]", as Render gives it
    std::string folder;            // the missions folder afterwards, as `there`
};

const std::string kNoPackage = ": is no Caesar III package: it holds nothing Caesar III installs";
const std::string kNoZip = ": is no ZIP archive that can be read";

const AddCase kCases[] = {
    {"copied", "", "Rome.zip", "P", {}, "added Rome.zip", "Rome.zip=P;"},
    {"no map or save", "", "readme.zip", "R", {}, "refused readme.zip" + kNoPackage, ""},
    {"no ZIP", "", "Rome.zip", "MZ", {}, "refused Rome.zip" + kNoZip, ""},
    {"same bytes", "ROME.ZIP=P;", "rome.zip", "P", {}, "already there ROME.ZIP", "ROME.ZIP=P;"},
    {"keep both", "rome.ZIP=O;", "Rome.zip", "P", true, "added Rome (2).zip",
     "Rome (2).zip=P;rome.ZIP=O;"},
    {"keep both, (2) taken", "Rome.zip=O;rome (2).zip=O;", "Rome.zip", "P", true,
     "added Rome (3).zip", "Rome (3).zip=P;Rome.zip=O;rome (2).zip=O;"},
    {"skip", "Rome.zip=O;", "Rome.zip", "P", false, "skipped Rome.zip", "Rome.zip=O;"},
};

std::string Render(const AddResult& result) {
    static const char* const kNames[] = {"added", "already there", "skipped", "refused", "failed"};
    return kNames[static_cast<int>(result.outcome)] + (" " + result.name) +
           (result.reason.empty() ? "" : ": " + result.reason);
}

class PackageAdderTest : public testing::GameSessionTest {
  protected:
    std::string Folder() {
        std::string listing;
        std::istringstream names(ListTree(paths.caesar3_missions));
        for (std::string name; std::getline(names, name);) {
            const auto bytes = ReadFileBytes(paths.caesar3_missions + name);
            listing += name + (bytes == kPackage ? "=P;" : bytes == kOtherPackage ? "=O;" : "=?;");
        }
        return listing;
    }
};

TEST_F(PackageAdderTest, AddsPackagesAndNeverOverwrites) {
    for (const AddCase& test : kCases) {
        SCOPED_TRACE(test.what);
        testing::TempDir elsewhere;
        testing::TempDir missions;
        paths.caesar3_missions = missions.path();
        for (std::size_t at = 0, end; (end = test.there.find(';', at)) != std::string::npos;
             at = end + 1) {
            const std::size_t equals = test.there.find('=', at);
            missions.WriteFile(test.there.substr(at, equals - at),
                               BytesOf(test.there.substr(equals + 1, end - equals - 1)));
        }
        const std::string file = elsewhere.WriteFile(test.file, BytesOf(test.bytes));

        int asked = 0;
        const AddResult result = AddPackageFile(
            fileSystem, *FindGame(kCaesar3), paths, file,
            [&](const std::string&, const std::string&) { return ++asked, *test.keepBoth; });

        EXPECT_EQ(asked, test.keepBoth ? 1 : 0);
        EXPECT_EQ(Render(result), test.result);
        EXPECT_EQ(Folder(), test.folder);
        EXPECT_EQ(ReadFileBytes(file), BytesOf(test.bytes));  // the original stays where it was
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
}  // namespace wendmoor::testing
