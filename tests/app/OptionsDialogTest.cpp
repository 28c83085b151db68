#include "settings/OptionsDialog.h"

#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>

#include <gtest/gtest.h>

#include "FakeSeams.h"
#include "app/DialogUnits.h"

namespace wendmoor {
namespace {

using testing::ScriptedFileChooser;

struct RowCase {
    int buttonId;
    const char* initialText;
    bool programRow;
};

const RowCase kRowCases[] = {
    {1046, "locate Caesar3 missions folder", false},
    {1044, "C3.exe", true},
    {1036, "locate Pharao missions folder", false},
    {1028, "Pharaoh.exe", true},
    {1038, "locate Pharao Save folder", false},
    {1034, "locate Zeus missions folder", false},
    {1030, "Zeus.exe", true},
    {1040, "locate Zeus Save folder", false},
    {1026, "locate Emperor missions folder", false},
    {1032, "Emperor.exe", true},
    {1042, "locate Emperor Save folder", false},
};

class OptionsDialogTest : public ::testing::Test {
  protected:
    QPushButton* Button(OptionsDialog& dialog, int id) {
        return dialog.findChild<QPushButton*>(QString::number(id));
    }
    QString Field(OptionsDialog& dialog, int id) {
        return dialog.findChild<QLineEdit*>(QString::number(id))->text();
    }

    GamePaths paths;
    ScriptedFileChooser files;
};

TEST_F(OptionsDialogTest, EachRowStartsWithItsTextAndProgramRowsOfferTheirPattern) {
    OptionsDialog dialog(paths, files);
    for (const RowCase& row : kRowCases) Button(dialog, row.buttonId)->click();  // all cancelled
    ASSERT_EQ(files.requests.size(), std::size(kRowCases));
    for (std::size_t i = 0; i < std::size(kRowCases); ++i) {
        const RowCase& row = kRowCases[i];
        const FileChoiceRequest& request = files.requests[i];
        SCOPED_TRACE(row.initialText);
        EXPECT_EQ(request.initialText, row.initialText);
        EXPECT_EQ(request.pattern, row.programRow ? row.initialText : "");
        EXPECT_EQ(request.fileMustExist, row.programRow);
    }
    EXPECT_EQ(dialog.WorkingPaths(), GamePaths());  // cancelled browsing changes nothing
}

TEST_F(OptionsDialogTest, TheChosenFilesFolderIsKeptWithItsSeparator) {
    OptionsDialog dialog(paths, files);
    files.Answer("/home/player/Zeus/Save/locate Zeus Save folder");
    Button(dialog, 1040)->click();
    EXPECT_EQ(dialog.WorkingPaths().zeus_saves, "/home/player/Zeus/Save/");
    EXPECT_EQ(Field(dialog, 1039), QStringLiteral("/home/player/Zeus/Save/"));

    files.Answer("/home/player/missions/any.zip");
    Button(dialog, 1046)->click();
    EXPECT_EQ(dialog.WorkingPaths().caesar3_missions, "/home/player/missions/");
}

TEST_F(OptionsDialogTest, AFileInTheRootGivesTheRoot) {
    OptionsDialog dialog(paths, files);
    files.Answer("/Zeus.exe");
    Button(dialog, 1030)->click();
    EXPECT_EQ(dialog.WorkingPaths().zeus_path, "/");
}

TEST_F(OptionsDialogTest, FolderBytesSurvive) {
    OptionsDialog dialog(paths, files);
    const std::string folder = "/games/Pharao \xe4\xff/";
    files.Answer(folder + "Pharaoh.exe");
    Button(dialog, 1028)->click();
    EXPECT_EQ(dialog.WorkingPaths().pharao_path, folder);
}

TEST_F(OptionsDialogTest, AnotherGameFolderEmptiesThatGamesSaves) {
    paths.pharao_path = "/games/Pharao/";
    paths.pharao_saves = "/games/Pharao/Save/";
    paths.zeus_path = "/games/Zeus/";
    paths.zeus_saves = "/games/Zeus/Save/";
    paths.emperor_path = "/games/Emperor/";
    paths.emperor_saves = "/games/Emperor/Save/";
    OptionsDialog dialog(paths, files);

    files.Answer("/games/Pharao/PHARAOH.EXE");  // the same folder: saves kept
    Button(dialog, 1028)->click();
    EXPECT_EQ(dialog.WorkingPaths().pharao_saves, "/games/Pharao/Save/");

    files.Answer("/games/zeus/Zeus.exe");  // another letter case is another folder
    Button(dialog, 1030)->click();
    EXPECT_EQ(dialog.WorkingPaths().zeus_path, "/games/zeus/");
    EXPECT_EQ(dialog.WorkingPaths().zeus_saves, "");
    EXPECT_EQ(Field(dialog, 1039), QString());

    files.Answer("/other/Emperor/Emperor.exe");
    Button(dialog, 1032)->click();
    EXPECT_EQ(dialog.WorkingPaths().emperor_path, "/other/Emperor/");
    EXPECT_EQ(dialog.WorkingPaths().emperor_saves, "");
    EXPECT_EQ(dialog.WorkingPaths().pharao_saves, "/games/Pharao/Save/");
}

TEST_F(OptionsDialogTest, Caesar3GameFolderEmptiesNothing) {
    paths.caesar3_missions = "/missions/c3/";
    paths.caesar3_path = "/games/C3/";
    OptionsDialog dialog(paths, files);
    files.Answer("/games/Caesar3/c3.exe");
    Button(dialog, 1044)->click();
    EXPECT_EQ(dialog.WorkingPaths().caesar3_path, "/games/Caesar3/");
    EXPECT_EQ(dialog.WorkingPaths().caesar3_missions, "/missions/c3/");
}

TEST_F(OptionsDialogTest, OkCopiesTheWorkingFoldersBack) {
    paths.zeus_saves = "/old/";
    OptionsDialog dialog(paths, files);
    files.Answer("/games/Zeus/Zeus.exe");
    Button(dialog, 1030)->click();
    EXPECT_EQ(paths.zeus_path, "");  // not before OK
    Button(dialog, 1)->click();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(paths.zeus_path, "/games/Zeus/");
    EXPECT_EQ(paths.zeus_saves, "");
}

TEST_F(OptionsDialogTest, CancelLeavesTheCallersFolders) {
    paths.pharao_path = "/games/Pharao/";
    paths.pharao_saves = "/games/Pharao/Save/";
    const GamePaths before = paths;
    OptionsDialog dialog(paths, files);
    files.Answer("/elsewhere/Pharaoh.exe");
    Button(dialog, 1028)->click();
    Button(dialog, 2)->click();
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    EXPECT_EQ(paths, before);
}

TEST_F(OptionsDialogTest, BrowseForFileWithoutADotOffersNoPattern) {
    OptionsDialog dialog(paths, files);
    std::string buffer = "locate somewhere";
    files.Answer("/a/b/c");
    EXPECT_TRUE(dialog.BrowseForFile(buffer));
    EXPECT_EQ(buffer, "/a/b/");
    EXPECT_EQ(files.requests.back().pattern, "");
    EXPECT_FALSE(files.requests.back().fileMustExist);

    buffer = "C3.exe";
    EXPECT_FALSE(dialog.BrowseForFile(buffer));  // cancelled
    EXPECT_EQ(buffer, "C3.exe");
}

TEST_F(OptionsDialogTest, AFolderTooLongToStoreIsRefused) {
    OptionsDialog dialog(paths, files);
    files.Answer("/" + std::string(kMaxStoredPathLength, 'x') + "/Zeus.exe");
    Button(dialog, 1030)->click();
    EXPECT_EQ(dialog.WorkingPaths().zeus_path, "");
}

}  // namespace
}  // namespace wendmoor
