// Disks that fill up and folders that are not what they should be: each case ends in a defined
// state, loses nothing and leaves no temporary file.
#ifndef _WIN32
#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#endif
#include <filesystem>

#include "GameTree.h"
#include "platform/SettingsStore.h"

namespace wendmoor::testing {
namespace {

class FailingDiskTest : public testing::GameTreeTest {
  protected:
    // Selects the game anew and tells whether the package shows as available.
    bool ShowsAvailable(int game, const std::string& name) {
        FileSystem fresh;
        PackageSession session(paths, fresh, nullptr);
        session.SelectGame(game);
        const Strings& available = session.Lists().available;
        return std::find(available.begin(), available.end(), name) != available.end();
    }
};

// Made with Linux's process limits and permission bits, which Windows has not.
#ifndef _WIN32
// A child process whose files may not grow beyond a few kilobytes: every larger write fails
// with EFBIG, as on a full disk.
int InstallOnFullDisk(GamePaths& paths, int game, const std::string& name) {
    const pid_t child = ::fork();
    if (child == 0) {
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{16384, 16384};
        ::setrlimit(RLIMIT_FSIZE, &limit);
        FileSystem fileSystem;
        PackageSession session(paths, fileSystem, nullptr);
        session.SelectGame(game);
        ::_exit(session.RunPackageCommand(name, true).Ok() ? 0 : 1);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    return status;
}

TEST_F(FailingDiskTest, FullDiskKeepsOldBytesAndLeavesNoPartialFile) {
    const std::string big(200000, 'n');
    Package(kCaesar3, "big.zip",
            ZipWriter()
                .Add("old.map", big, ZipWriter::Method::Stored)
                .Add("new.map", big)
                .Add("small.sav", "fits"));
    ASSERT_TRUE(testing::WriteFileBytes(paths.caesar3_path + "old.map", "old bytes"));
    const int status = InstallOnFullDisk(paths, kCaesar3, "big.zip");
    ASSERT_TRUE(WIFEXITED(status)) << status;
    EXPECT_EQ(WEXITSTATUS(status), 1);  // reported as failed
    EXPECT_EQ(ListTree(paths.caesar3_path), "old.map\nsmall.sav\n");
    EXPECT_EQ(ReadFileBytes(paths.caesar3_path + "old.map"), "old bytes");
    EXPECT_TRUE(ShowsAvailable(kCaesar3, "big.zip"));
}

// A folder that takes no new entries and gives none up while the object lives: read-only for a
// user, immutable for the superuser, whom permissions do not bind.
class LockedFolder {
  public:
    explicit LockedFolder(const std::string& folder)
        : folder_(folder), fd_(::geteuid() == 0 ? ::open(folder.c_str(), O_RDONLY) : -1) {
        locked_ = fd_ >= 0 ? SetImmutable(true) : ::chmod(folder.c_str(), 0555) == 0;
    }
    ~LockedFolder() {
        if (fd_ < 0) ::chmod(folder_.c_str(), 0755);
        if (fd_ >= 0 && locked_) SetImmutable(false);
        if (fd_ >= 0) ::close(fd_);
    }
    bool Locked() const { return locked_; }

  private:
    bool SetImmutable(bool on) {
        int flags = 0;
        if (::ioctl(fd_, FS_IOC_GETFLAGS, &flags) != 0) return false;
        flags = on ? flags | FS_IMMUTABLE_FL : flags & ~FS_IMMUTABLE_FL;
        return ::ioctl(fd_, FS_IOC_SETFLAGS, &flags) == 0;
    }
    std::string folder_;
    int fd_;
    bool locked_ = false;
};

TEST_F(FailingDiskTest, ReadOnlyTargetFolderTakesNothing) {
    Package(kCaesar3, "p.zip", ZipWriter().Add("a.map", "a"));
    ASSERT_TRUE(testing::WriteFileBytes(paths.caesar3_path + "a.map", "old"));
    ASSERT_TRUE(session.SelectGame(kCaesar3));
    {
        const LockedFolder locked(paths.caesar3_path);
        if (!locked.Locked()) GTEST_SKIP() << "this file system cannot lock a folder";
        EXPECT_FALSE(session.RunPackageCommand("p.zip", true).Ok());
    }
    EXPECT_EQ(ReadFileBytes(paths.caesar3_path + "a.map"), "old");

    // A deinstall that cannot delete says so, for counted and uncounted files alike.
    Package(kCaesar3, "q.zip", ZipWriter().Add("q.map", "q").Add("q.sav", "s"));
    ASSERT_TRUE(session.SelectGame(kCaesar3));
    ASSERT_TRUE(session.RunPackageCommand("q.zip", true).Ok());
    const LockedFolder locked(paths.caesar3_path);
    EXPECT_EQ(session.RunPackageCommand("q.zip", false).Failures().size(), 2u);
}

#endif

TEST_F(FailingDiskTest, TargetThatIsAFolderStaysOneWithItsContent) {
    Package(kCaesar3, "p.zip", ZipWriter().Add("a.map", "a").Add("b.sav", "b"));
    std::filesystem::create_directory(paths.caesar3_path + "A.MAP");
    ASSERT_TRUE(testing::WriteFileBytes(paths.caesar3_path + "A.MAP/keep", "keep"));
    ASSERT_TRUE(session.SelectGame(kCaesar3));
    EXPECT_FALSE(session.RunPackageCommand("p.zip", true).Ok());
    EXPECT_EQ(ListTree(paths.caesar3_path), "A.MAP/\nA.MAP/keep\nb.sav\n");
    EXPECT_EQ(session.Lists().available, (Strings{"p.zip"}));
    // A deinstall takes what the install wrote; the folder is no file of the package's.
    EXPECT_FALSE(session.RunPackageCommand("p.zip", false).Ok());
    EXPECT_EQ(ListTree(paths.caesar3_path), "A.MAP/\nA.MAP/keep\n");
}

TEST_F(FailingDiskTest, MissingGameSubFoldersAreNeverCreated) {
    std::filesystem::remove(paths.pharao_path + "Maps");
    std::filesystem::remove(paths.zeus_path + "Adventures");
    std::filesystem::remove(paths.emperor_path + "Campaigns");
    std::filesystem::remove(paths.emperor_path + "Cities");
    Package(kPharao, "p.zip", ZipWriter().Add("a.map", "a").Add("a.sav", "s"));
    Package(kZeus, "z.zip", ZipWriter().Add("Troy.pak", "p").Add("Troy.map", "m"));
    Package(kEmperor, "e.zip",
            ZipWriter().Add("Rome.pak", "p").Add("City.map", "c").Add("Rome.set", "s"));
    for (const int game : {kPharao, kZeus, kEmperor}) {
        ASSERT_TRUE(session.SelectGame(game));
        ASSERT_EQ(session.Lists().available.size(), 1u) << game;
        EXPECT_FALSE(session.RunPackageCommand(session.Lists().available[0], true).Ok());
        EXPECT_EQ(session.Lists().available.size(), 1u) << game;
    }
    EXPECT_EQ(ListTree(paths.pharao_path), "Save/\nSave/a.sav\n");
    EXPECT_EQ(ListTree(paths.zeus_path), "Save/\n");
    EXPECT_EQ(ListTree(paths.emperor_path), "Save/\n");
}

TEST_F(FailingDiskTest, VanishedSaveFolderIsNotRecreated) {
    Package(kZeus, "s.zip", ZipWriter().Add("one.sav", "s"));
    Package(kPharao, "s.zip", ZipWriter().Add("one.sav", "s").Add("one.map", "m"));
    std::filesystem::remove(paths.zeus_saves);
    std::filesystem::remove(paths.pharao_saves);
    for (const int game : {kZeus, kPharao}) {
        ASSERT_TRUE(session.SelectGame(game));
        EXPECT_FALSE(session.RunPackageCommand("s.zip", true).Ok());
        EXPECT_EQ(session.Lists().available, (Strings{"s.zip"})) << game;
        // Nothing of the Zeus package arrived; the Pharao map did, and its deinstall takes it,
        // as no installed package needs it.
        EXPECT_EQ(session.RunPackageCommand("s.zip", false).Ok(), game == kPharao) << game;
    }
    EXPECT_EQ(ListTree(paths.zeus_path), "Adventures/\n");
    EXPECT_EQ(ListTree(paths.pharao_path), "Maps/\n");
}

}  // namespace
}  // namespace wendmoor::testing
