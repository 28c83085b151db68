// Adding a file from anywhere to a game's missions folder: only packages of that game, never
// over a file already there, never the same bytes twice.
#ifndef _WIN32
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstring>
#endif
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "GameTree.h"
#include "packages/PackageAdder.h"
#include "platform/ReadOnlyFile.h"

namespace wendmoor::testing {
namespace {

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
    std::string meanwhile;         // written into the folder while the question is open
    std::string result;            // as Render gives it; FILE stands for the added file's path
    std::string folder;            // the missions folder afterwards, as `there`
};

const std::string kNoPackage =
    ": is not a Caesar III package: it holds nothing Caesar III installs";

const AddCase kCases[] = {
    {"copied", "", "Rome.zip", "P", {}, "", "added Rome.zip", "Rome.zip=P;"},
    {"no map or save", "", "readme.zip", "R", {}, "", "FILE" + kNoPackage, ""},
    {"no ZIP", "", "Rome.zip", "MZ", {}, "", "FILE: is not a ZIP archive that can be read", ""},
    {"our temporary prefix",
     "",
     ".wendmoor-mission.zip",
     "P",
     {},
     "",
     "FILE: its name starts with .wendmoor-, which Wendmoor keeps for its temporary files",
     ""},
    {"same bytes", "ROME.ZIP=P;", "rome.zip", "P", {}, "", "already there ROME.ZIP", "ROME.ZIP=P;"},
    {"same bytes under another name",
     "Rome (2).zip=P;Rome.zip=O;",
     "Rome.zip",
     "P",
     {},
     "",
     "already there Rome (2).zip",
     "Rome (2).zip=P;Rome.zip=O;"},
    {"keep both", "rome.ZIP=O;", "Rome.zip", "P", true, "", "added Rome (2).zip",
     "Rome (2).zip=P;rome.ZIP=O;"},
    {"keep both, (2) taken", "Rome.zip=O;rome (2).zip=R;", "Rome.zip", "P", true, "",
     "added Rome (3).zip", "Rome (3).zip=P;Rome.zip=O;rome (2).zip=R;"},
    {"skip", "Rome.zip=O;", "Rome.zip", "P", false, "", "skipped", "Rome.zip=O;"},
    {"the offered name taken while asking", "Rome.zip=O;", "Rome.zip", "P", true, "Rome (2).zip=R;",
     "added Rome (3).zip", "Rome (2).zip=R;Rome (3).zip=P;Rome.zip=O;"},
    {"the same bytes added while asking", "Rome.zip=O;", "Rome.zip", "P", true, "Rome (2).zip=P;",
     "already there Rome (2).zip", "Rome (2).zip=P;Rome.zip=O;"},
};

std::string Render(const AddResult& result, const std::string& file) {
    static const char* const kDone[] = {"skipped", "added ", "already there "};
    std::string text;
    if (result.outcome.Ok() || result.done != AddResult::Done::Nothing) {
        text = kDone[static_cast<int>(result.done)] + result.name;
    }
    for (std::string line : result.outcome.Lines()) {
        if (line.starts_with(file)) line = "FILE" + line.substr(file.size());
        text += line;
    }
    return text;
}

void WriteFiles(const TempDir& folder, const std::string& files) {
    for (std::size_t at = 0, end; (end = files.find(';', at)) != std::string::npos; at = end + 1) {
        const std::size_t equals = files.find('=', at);
        folder.WriteFile(files.substr(at, equals - at),
                         BytesOf(files.substr(equals + 1, end - equals - 1)));
    }
}

class PackageAdderTest : public testing::GameSessionTest {
  protected:
    std::string Folder() {
        std::string listing;
        std::istringstream names(ListTree(paths.caesar3_missions));
        for (std::string name; std::getline(names, name);) {
            const auto bytes = ReadFileBytes(paths.caesar3_missions + name);
            listing += name + (bytes == kPackage        ? "=P;"
                               : bytes == kOtherPackage ? "=O;"
                               : bytes == kReadme       ? "=R;"
                                                        : "=?;");
        }
        return listing;
    }
    AddResult Add(const std::string& file, const KeepBothQuestion& keepBoth = nullptr,
                  const PackageLock::KeepWaiting& keepWaiting = {}) {
        return AddPackageFile(fileSystem, *FindGame(kCaesar3), paths, file, keepBoth, keepWaiting);
    }
    const PackageLock::KeepWaiting never = [](std::chrono::milliseconds) { return false; };
};

TEST_F(PackageAdderTest, AddsPackagesAndNeverOverwrites) {
    for (const AddCase& test : kCases) {
        SCOPED_TRACE(test.what);
        testing::TempDir elsewhere;
        testing::TempDir missions;
        paths.caesar3_missions = missions.path();
        WriteFiles(missions, test.there);
        const std::string file = elsewhere.WriteFile(test.file, BytesOf(test.bytes));

        int asked = 0;
        const AddResult result = Add(file, [&](const std::string&, const std::string&) {
            // Asked without holding the folder: another command may use it meanwhile.
            PackageLock other;
            EXPECT_TRUE(other.Acquire(PackageLock::Mode::Exclusive, {missions.path()}, never).Ok());
            WriteFiles(missions, test.meanwhile);
            return ++asked, *test.keepBoth;
        });

        EXPECT_EQ(asked, test.keepBoth ? 1 : 0);
        EXPECT_EQ(Render(result, file), test.result);
        EXPECT_EQ(Folder(), test.folder);
        EXPECT_EQ(ReadFileBytes(file), BytesOf(test.bytes));  // the original stays where it was
    }
}

TEST_F(PackageAdderTest, FailuresSayTheSystemsReason) {
    const std::string gone = dir.path() + "gone.zip";
    ReadOnlyFile probe;  // the system's own words for it
    EXPECT_EQ(Add(gone).outcome.Lines(), probe.Open(gone).Lines());

    const std::string file = dir.WriteFile("Rome.zip", kPackage);
    paths.caesar3_missions = dir.path() + "not there/";
    EXPECT_EQ(Render(Add(file), file),
              "FILE: the missions folder " + paths.caesar3_missions + " does not exist");
}

TEST_F(PackageAdderTest, WaitsForNoOneWhenToldNotTo) {
    const std::string file = dir.WriteFile("Rome.zip", kPackage);
    PackageLock other;
    ASSERT_TRUE(other.Acquire(PackageLock::Mode::Shared, {paths.caesar3_missions}, never).Ok());
    const AddResult refused = Add(file, nullptr, never);
    ASSERT_FALSE(refused.outcome.Ok());
    EXPECT_EQ(refused.outcome.Failures().front().reason.rfind(kFolderInUse, 0), 0u)
        << refused.outcome.Lines().front();
    EXPECT_EQ(Folder(), "");
}

#ifndef _WIN32  // Linux's process limits
// A child whose files may not grow past a few kilobytes, as on a full disk.
TEST_F(PackageAdderTest, AFullMissionsFolderSaysWhy) {
    const std::string file = dir.WriteFile(
        "big.zip",
        ZipWriter().Add("big.map", std::string(200000, 'n'), ZipWriter::Method::Stored).Bytes());
    const pid_t child = ::fork();
    if (child == 0) {
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{16384, 16384};
        ::setrlimit(RLIMIT_FSIZE, &limit);
        const Outcome outcome = Add(file).outcome;
        ::_exit(outcome.Lines() ==
                        std::vector<std::string>{
                            file + ": cannot be written into the missions folder " +
                            paths.caesar3_missions + ": " + std::strerror(EFBIG)}
                    ? 0
                    : 1);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    EXPECT_EQ(status, 0);
    EXPECT_EQ(Folder(), "");
}
#endif

}  // namespace
}  // namespace wendmoor::testing
