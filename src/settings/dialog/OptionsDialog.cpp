#include "settings/dialog/OptionsDialog.h"

#include <QFile>
#include <QLineEdit>
#include <QPushButton>

#include "platform/FileSystem.h"
#include "platform/Path.h"
#include "widgets/DialogUnits.h"
#include "widgets/GroupFrame.h"
#include "widgets/PathText.h"
#include "widgets/Seams.h"

namespace wendmoor {

namespace {

struct OptionsRow {
    const char* groupText;
    int boxY;    // dialog units
    int editId;  // the "..." button is editId + 1
    std::string GamePaths::*field;
    const char* name;  // the field's name in the settings; its widgets are named after it
    const char* initialText;
    bool gameFolder;                       // only a different folder is taken
    std::string GamePaths::*emptiedSaves;  // emptied when the game folder changes
    const char* spokenName;                // what a screen reader calls the field
};

// Top to bottom, as the dialog shows them; also the tab order.
const std::array<OptionsRow, 11> kRows = {{
    {"Caesar3 Missions Folder (*.zip)", 5, 1045, &GamePaths::caesar3_missions, "caesar3_missions",
     "locate Caesar3 missions folder", false, nullptr, "Caesar III missions folder"},
    {"Caesar3 Folder (C3.exe)", 34, 1043, &GamePaths::caesar3_path, "caesar3_path", "C3.exe", true,
     nullptr, "Caesar III game folder"},
    {"Pharao Missions Folder (*.zip)", 75, 1035, &GamePaths::pharao_missions, "pharao_missions",
     "locate Pharao missions folder", false, nullptr, "Pharao missions folder"},
    {"Pharao Folder (Pharaoh.exe)", 105, 1027, &GamePaths::pharao_path, "pharao_path",
     "Pharaoh.exe", true, &GamePaths::pharao_saves, "Pharao game folder"},
    {"Pharao Savegame Folder (*.sav)", 135, 1037, &GamePaths::pharao_saves, "pharao_saves",
     "locate Pharao Save folder", false, nullptr, "Pharao save-game folder"},
    {"Zeus Missions Folder (*.zip)", 175, 1033, &GamePaths::zeus_missions, "zeus_missions",
     "locate Zeus missions folder", false, nullptr, "Zeus missions folder"},
    {"Zeus Folder (Zeus.exe)", 205, 1029, &GamePaths::zeus_path, "zeus_path", "Zeus.exe", true,
     &GamePaths::zeus_saves, "Zeus game folder"},
    {"Zeus Savegame Folder (*.sav)", 234, 1039, &GamePaths::zeus_saves, "zeus_saves",
     "locate Zeus Save folder", false, nullptr, "Zeus save-game folder"},
    {"Emperor Missions Folder (*.zip)", 275, 1025, &GamePaths::emperor_missions, "emperor_missions",
     "locate Emperor missions folder", false, nullptr, "Emperor missions folder"},
    {"Emperor Folder (Emperor.exe)", 305, 1031, &GamePaths::emperor_path, "emperor_path",
     "Emperor.exe", true, &GamePaths::emperor_saves, "Emperor game folder"},
    {"Emperor Savegame Folder (*.sav)", 335, 1041, &GamePaths::emperor_saves, "emperor_saves",
     "locate Emperor Save folder", false, nullptr, "Emperor save-game folder"},
}};

const OptionsRow* RowOfButton(int buttonId) {
    for (const OptionsRow& row : kRows) {
        if (row.editId + 1 == buttonId) return &row;
    }
    return nullptr;
}

QString Display(const std::string& path) {
    return QFile::decodeName(QByteArray::fromStdString(path));
}

}  // namespace

OptionsDialog::OptionsDialog(GamePaths& paths, FileChooser& fileChooser, MessageBoxes& messages,
                             QWidget* parent)
    : QDialog(parent),
      paths_(paths),
      working_(paths),
      fileChooser_(fileChooser),
      messages_(messages) {
    setWindowTitle(QStringLiteral("QARN Options Dialog"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    const DialogUnits units(font());

    // The group boxes first, so they lie beneath the fields they frame.
    for (const OptionsRow& row : kRows) {
        auto* box = new GroupFrame(QString::fromUtf8(row.groupText), this);
        box->setObjectName(QString::fromLatin1(row.name) + QStringLiteral("Group"));
        units.Place(box, 5, row.boxY, 350, 30);
    }

    // Then the controls. The tab order follows the rows top to bottom, each field and then its
    // button, and ends with Cancel and OK as they stand below the rows.
    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("okButton"));
    ok->setDefault(true);
    units.Place(ok, 305, 370, 50, 14);
    connect(ok, &QPushButton::clicked, this, &OptionsDialog::accept);

    auto* cancel = new QPushButton(QStringLiteral("Cancel"), this);
    cancel->setObjectName(QStringLiteral("cancelButton"));
    cancel->setAutoDefault(false);
    units.Place(cancel, 5, 370, 50, 14);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    QWidget* previous = nullptr;
    for (std::size_t i = 0; i < kRows.size(); ++i) {
        const OptionsRow& row = kRows[i];
        const QString spokenName = QString::fromUtf8(row.spokenName);
        auto* edit = new QLineEdit(this);
        edit->setObjectName(QString::fromLatin1(row.name) + QStringLiteral("Field"));
        edit->setReadOnly(true);
        edit->setAccessibleName(spokenName);
        edit->setAccessibleDescription(QString::fromUtf8(row.groupText) +
                                       QStringLiteral(". Changed with the button beside it."));
        units.Place(edit, 11, row.boxY + 11, 315, 15);
        edits_[i] = edit;

        const int buttonId = row.editId + 1;
        auto* button = new QPushButton(QStringLiteral("..."), this);
        button->setObjectName(QString::fromLatin1(row.name) + QStringLiteral("Browse"));
        button->setAutoDefault(false);
        button->setAccessibleName(QStringLiteral("Browse for the ") + spokenName);
        button->setAccessibleDescription(
            row.gameFolder ? QStringLiteral("Opens a file chooser: choose %1 in the game's folder.")
                                 .arg(QString::fromUtf8(row.initialText))
                           : QStringLiteral("Opens a folder chooser."));
        units.Place(button, 331, row.boxY + 11, 20, 14);
        connect(button, &QPushButton::clicked, this, [this, buttonId] { OnBrowse(buttonId); });

        if (previous != nullptr) setTabOrder(previous, edit);
        setTabOrder(edit, button);
        previous = button;
    }
    setTabOrder(previous, cancel);
    setTabOrder(cancel, ok);

    setFixedSize(units.Size(362, 391));
    UpdateFields();
    ok->setFocus();
}

void OptionsDialog::UpdateFields() {
    for (std::size_t i = 0; i < kRows.size(); ++i) {
        edits_[i]->setText(Display(working_.*kRows[i].field));
        edits_[i]->setCursorPosition(0);
    }
    ShowOrigins();
}

namespace {

// The folder itself when it exists (in its spelling on disk), else the nearest one above it.
std::string NearestExistingFolder(const std::string& folder) {
    if (folder.empty()) return {};
    const FileSystem fileSystem;
    std::string candidate = fileSystem.Resolve(folder);
    while (!candidate.empty()) {
        if (candidate.back() != kPathSeparator) candidate += kPathSeparator;
        if (fileSystem.FolderExists(candidate)) return candidate;
        candidate.pop_back();
        candidate = FolderOf(candidate);
    }
    return {};
}

}  // namespace

bool OptionsDialog::BrowseForFile(std::string& buffer, const std::string& currentFolder) {
    FileChoiceRequest request;
    request.initialText = buffer;
    request.initialFolder = NearestExistingFolder(currentFolder);
    if (buffer.find('.') != std::string::npos) {
        request.pattern = buffer;
        request.fileMustExist = true;
    }
    for (;;) {
        const std::optional<std::string> chosen = fileChooser_.ChooseFile(this, request);
        if (!chosen) return false;
        // Keep the folder of the choice with its trailing separator; its file name goes.
        const std::string folder = FolderOf(*chosen);
        if (folder.empty()) return false;
        if (folder.size() <= kMaxStoredPathLength) {
            buffer = folder;
            return true;
        }
        // The folder must be stored whole to be loaded again. Say why it is refused, then let
        // the user choose again from where the choice was made.
        messages_.ShowInformationWithDetails(
            this, QStringLiteral("Path too long"),
            QStringLiteral("This folder's path is %1 bytes long; a folder may have at most %2 "
                           "bytes. Please choose one with a shorter path.<br><br>%3")
                .arg(folder.size())
                .arg(kMaxStoredPathLength)
                .arg(PathHtml(folder)),
            QString());
        request.initialFolder = NearestExistingFolder(folder);
    }
}

void OptionsDialog::OnBrowse(int buttonId) {
    const OptionsRow* row = RowOfButton(buttonId);
    if (row == nullptr) return;
    std::string buffer = row->initialText;
    // The chooser starts where the row points: for a program row that is the game folder, the
    // folder of the current program.
    if (!BrowseForFile(buffer, working_.*row->field)) return;

    std::string& field = working_.*row->field;
    if (row->gameFolder) {
        // Compared byte for byte: another letter case is another folder.
        if (buffer != field) {
            if (row->emptiedSaves != nullptr) (working_.*row->emptiedSaves).clear();
            field = buffer;
        }
    } else {
        field = buffer;
    }
    UpdateFields();
}

void OptionsDialog::accept() {
    if (!MakeAcceptedProposals()) return;
    paths_ = working_;
    QDialog::accept();
}

std::string GamePaths::*OptionsDialog::FieldOfRow(std::size_t row) {
    return kRows[row].field;
}

int OptionsDialog::EditIdOfRow(std::size_t row) {
    return kRows[row].editId;
}

QString OptionsDialog::NameOfRow(std::size_t row) {
    return QString::fromLatin1(kRows[row].name);
}

QString OptionsDialog::TitleOfRow(std::size_t row) {
    return QString::fromUtf8(kRows[row].groupText);
}

}  // namespace wendmoor
