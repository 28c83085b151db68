// Where the readme is opened from: the start folder first, then the install's data folder
// beside the executable's folder (on Windows the executable's own), wherever the install was
// moved.
#include "platform/ProgramFolders.h"

#include <gtest/gtest.h>

#include "TempDir.h"

namespace wendmoor::testing {
namespace {

#ifdef _WIN32
constexpr char kDataFolder[] = "bin";  // beside the program
#else
constexpr char kDataFolder[] = "share/wendmoor";
#endif

TEST(ProgramFoldersTest, TheReadmeIsTakenFromTheStartFolderThenFromTheDataFolder) {
    struct Case {
        const char* name;
        bool inStart;
        bool inData;  // otherwise a folder of the readme's name is there, which is no readme
        const char* expected;  // below the temporary folder
    };
    const Case cases[] = {
        {"in both", true, true, "start"},
        {"only in the data folder", false, true, kDataFolder},
        {"in neither", false, false, "start"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const TempDir dir;
        dir.MakeFolder("start");
        if (c.inStart) dir.WriteFile("start/qarn_readme.htm", "<html>");
        if (c.inData) {
            dir.WriteFile(std::string(kDataFolder) + "/qarn_readme.htm", "<html>");
        } else {
            dir.MakeFolder(std::string(kDataFolder) + "/qarn_readme.htm");
        }
        EXPECT_EQ(FolderHoldingDataFile("qarn_readme.htm", dir.At("start"), dir.At("bin/wendmoor")),
                  dir.At(c.expected));
    }
}

}  // namespace
}  // namespace wendmoor::testing
