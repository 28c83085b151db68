#include "settings/dialog/OptionsDialog.h"

#include <filesystem>

#include <QApplication>
#include <QFileDialog>
#include <QLineEdit>
#include <QTimer>

#include "FakeSeams.h"
#include "widgets/QtSeams.h"

namespace wendmoor {
namespace {

using namespace testing;

class OptionsDialogTest : public ::testing::Test {
  protected:
    QString Field(OptionsDialog& dialog, const char* name) {
        return dialog.findChild<QLineEdit*>(QString::fromLatin1(name))->text();
    }

    TempDir temp;
    GamePaths paths;
    ScriptedFileChooser files;
    RecordingMessageBoxes messages;
};

// The folder of the chosen file, byte for byte and with its separator; the file name goes. A
// program row offers its program's name as the pattern, a folder row no pattern; a cancelled
// choice changes nothing.
TEST_F(OptionsDialogTest, TheChosenFilesFolderIsKeptWithItsSeparator) {
    const struct {
        const char* button;
        std::string chosen;
        std::string GamePaths::*field;
        std::string folder;
    } cases[] = {
        {"zeus_pathBrowse", "/Zeus.exe", &GamePaths::zeus_path, "/"},
        {"zeus_savesBrowse", "/home/player/Zeus/Save/locate Zeus Save folder",
         &GamePaths::zeus_saves, "/home/player/Zeus/Save/"},
        {"caesar3_missionsBrowse", "/home/player/missions/any.zip", &GamePaths::caesar3_missions,
         "/home/player/missions/"},
        {"pharao_pathBrowse", "/games/Pharao \xe4\xff/Pharaoh.exe", &GamePaths::pharao_path,
         "/games/Pharao \xe4\xff/"},
    };
    OptionsDialog dialog(paths, files, messages);
    for (const auto& c : cases) {
        files.Answer(c.chosen);
        Press(dialog, c.button);
        EXPECT_EQ(dialog.WorkingPaths().*c.field, c.folder) << c.chosen;
    }
    EXPECT_EQ(Field(dialog, "zeus_savesField"), QStringLiteral("/home/player/Zeus/Save/"));
    EXPECT_EQ(files.requests[0].pattern, "Zeus.exe");
    EXPECT_TRUE(files.requests[0].fileMustExist);
    EXPECT_EQ(files.requests[1].pattern, "");
    EXPECT_FALSE(files.requests[1].fileMustExist);

    Press(dialog, "zeus_pathBrowse");  // no answer: cancelled
    EXPECT_EQ(dialog.WorkingPaths().zeus_path, "/");
}

TEST_F(OptionsDialogTest, AnotherGameFolderEmptiesThatGamesSaves) {
    paths.pharao_path = "/games/Pharao/";
    paths.pharao_saves = "/games/Pharao/Save/";
    paths.zeus_path = "/games/Zeus/";
    paths.zeus_saves = "/games/Zeus/Save/";
    paths.emperor_path = "/games/Emperor/";
    paths.emperor_saves = "/games/Emperor/Save/";
    OptionsDialog dialog(paths, files, messages);

    files.Answer("/games/Pharao/PHARAOH.EXE");  // the same folder: saves kept
    Press(dialog, "pharao_pathBrowse");
    EXPECT_EQ(dialog.WorkingPaths().pharao_saves, "/games/Pharao/Save/");

    files.Answer("/games/zeus/Zeus.exe");  // another letter case is another folder
    Press(dialog, "zeus_pathBrowse");
    EXPECT_EQ(dialog.WorkingPaths().zeus_path, "/games/zeus/");
    EXPECT_EQ(dialog.WorkingPaths().zeus_saves, "");
    EXPECT_EQ(Field(dialog, "zeus_savesField"), QString());

    files.Answer("/other/Emperor/Emperor.exe");
    Press(dialog, "emperor_pathBrowse");
    EXPECT_EQ(dialog.WorkingPaths().emperor_path, "/other/Emperor/");
    EXPECT_EQ(dialog.WorkingPaths().emperor_saves, "");
    EXPECT_EQ(dialog.WorkingPaths().pharao_saves, "/games/Pharao/Save/");
}

// 259 bytes are stored whole; a 260-byte folder is refused and the chooser opens again on it.
TEST_F(OptionsDialogTest, AFolderTooLongToStoreIsRefusedAndTheChooserOpensAgainOnIt) {
    const auto folderOf = [this](std::size_t size) {
        return temp.MakeFolder(std::string(size - temp.path().size() - 1, size == 260 ? 'x' : 'y'));
    };
    const std::string tooLong = folderOf(kMaxStoredPathLength + 1);
    const std::string longest = folderOf(kMaxStoredPathLength);
    ASSERT_EQ(tooLong.size(), 260u);
    OptionsDialog dialog(paths, files, messages);
    files.Answer(tooLong + "Zeus.exe");
    files.Answer(longest + "Zeus.exe");
    Press(dialog, "zeus_pathBrowse");

    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].first, QStringLiteral("Path too long"));
    EXPECT_TRUE(messages.shown[0].second.contains(QStringLiteral("at most 259 bytes")));
    ASSERT_EQ(files.requests.size(), 2u);
    EXPECT_EQ(files.requests[1].initialFolder, tooLong);
    EXPECT_EQ(files.requests[1].pattern, "Zeus.exe");
    EXPECT_EQ(dialog.WorkingPaths().zeus_path, longest);
}

TEST_F(OptionsDialogTest, TheChooserOpensInTheRowsFolderOrTheNearestOneAboveIt) {
    const std::string zeus = temp.MakeFolder("Zeus");
    const std::string saves = temp.MakeFolder("Zeus/Save");
    paths.zeus_path = zeus;                         // the program row: its program's folder
    paths.zeus_saves = temp.path() + "ZEUS/save/";  // another letter case on disk
    paths.zeus_missions = zeus + "Gone/Deeper/";    // gone: the nearest existing folder
    paths.pharao_missions = "relative/nowhere/";    // nothing exists: the chooser decides
    const std::pair<const char*, std::string> cases[] = {
        {"zeus_pathBrowse", zeus},     {"zeus_savesBrowse", saves}, {"zeus_missionsBrowse", zeus},
        {"pharao_missionsBrowse", ""}, {"emperor_savesBrowse", ""},
    };
    OptionsDialog dialog(paths, files, messages);
    for (const auto& [button, folder] : cases) Press(dialog, button);
    ASSERT_EQ(files.requests.size(), std::size(cases));
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        EXPECT_EQ(files.requests[i].initialFolder, cases[i].second) << cases[i].first;
    }
}

// The real chooser, closed by the test as soon as it shows. One dialog serves every row, so
// what one row set must not stand in the next.
TEST(QtFileChooserTest, OpensInTheRequestedFolderAndWritesNoQtProjectConf) {
    TempDir temp;
    const std::string folder = temp.MakeFolder("Zeus");
    std::string shown;  // folder | file types | name box
    QTimer closer;
    QObject::connect(&closer, &QTimer::timeout, [&shown] {
        if (auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget())) {
            const auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
            shown = QFile::encodeName(dialog->directory().absolutePath() + "/|" +
                                      dialog->nameFilters().join(';') + '|' +
                                      (name != nullptr ? name->text() : QStringLiteral("?")))
                        .toStdString();
            dialog->reject();
        }
    });
    closer.start(10);
    QtFileChooser chooser;
    const std::pair<FileChoiceRequest, std::string> cases[] = {
        {{"Zeus.exe", "Zeus.exe", true, folder},
         folder + "|Zeus.exe ([Zz][Ee][Uu][Ss].[Ee][Xx][Ee])|Zeus.exe"},
        {{"locate Zeus Save folder", "", false, folder}, folder + "|All Files (*)|"},
    };
    for (const auto& [request, expected] : cases) {
        // The options dialog that lends the chooser its parent closes after each use.
        const auto parent = std::make_unique<QWidget>();
        shown.clear();
        EXPECT_EQ(chooser.ChooseFile(parent.get(), request), std::nullopt);
        EXPECT_EQ(shown, expected);
    }
    const std::string configHome = qEnvironmentVariable("XDG_CONFIG_HOME").toStdString();
    ASSERT_FALSE(configHome.empty());
    EXPECT_FALSE(std::filesystem::exists(configHome + "/QtProject.conf"));
}

}  // namespace
}  // namespace wendmoor
