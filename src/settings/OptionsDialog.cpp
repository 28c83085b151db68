#include "settings/OptionsDialog.h"

#include <algorithm>

#include <QFile>
#include <QLineEdit>
#include <QPushButton>

#include "app/DialogUnits.h"
#include "app/GroupFrame.h"
#include "app/Seams.h"
#include "platform/Path.h"

namespace wendmoor {

namespace {

struct OptionsRow {
    const char* groupText;
    int boxY;    // dialog units
    int editId;  // the "..." button is editId + 1
    std::string GamePaths::*field;
    const char* initialText;
    bool gameFolder;                       // only a different folder is taken
    std::string GamePaths::*emptiedSaves;  // emptied when the game folder changes
};

// Top to bottom, as the dialog shows them.
const std::array<OptionsRow, 11> kRows = {{
    {"Caesar3 Missions Folder (*.zip)", 5, 1045, &GamePaths::caesar3_missions,
     "locate Caesar3 missions folder", false, nullptr},
    {"Caesar3 Folder (C3.exe)", 34, 1043, &GamePaths::caesar3_path, "C3.exe", true, nullptr},
    {"Pharao Missions Folder (*.zip)", 75, 1035, &GamePaths::pharao_missions,
     "locate Pharao missions folder", false, nullptr},
    {"Pharao Folder (Pharaoh.exe)", 105, 1027, &GamePaths::pharao_path, "Pharaoh.exe", true,
     &GamePaths::pharao_saves},
    {"Pharao Savegame Folder (*.sav)", 135, 1037, &GamePaths::pharao_saves,
     "locate Pharao Save folder", false, nullptr},
    {"Zeus Missions Folder (*.zip)", 175, 1033, &GamePaths::zeus_missions,
     "locate Zeus missions folder", false, nullptr},
    {"Zeus Folder (Zeus.exe)", 205, 1029, &GamePaths::zeus_path, "Zeus.exe", true,
     &GamePaths::zeus_saves},
    {"Zeus Savegame Folder (*.sav)", 234, 1039, &GamePaths::zeus_saves, "locate Zeus Save folder",
     false, nullptr},
    {"Emperor Missions Folder (*.zip)", 275, 1025, &GamePaths::emperor_missions,
     "locate Emperor missions folder", false, nullptr},
    {"Emperor Folder (Emperor.exe)", 305, 1031, &GamePaths::emperor_path, "Emperor.exe", true,
     &GamePaths::emperor_saves},
    {"Emperor Savegame Folder (*.sav)", 335, 1041, &GamePaths::emperor_saves,
     "locate Emperor Save folder", false, nullptr},
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

OptionsDialog::OptionsDialog(GamePaths& paths, FileChooser& fileChooser, QWidget* parent)
    : QDialog(parent), paths_(paths), working_(paths), fileChooser_(fileChooser) {
    setWindowTitle(QStringLiteral("QARN Options Dialog"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    const DialogUnits units(font());

    // The group boxes first, so they lie beneath the fields they frame.
    for (const OptionsRow& row : kRows) {
        auto* box = new GroupFrame(QString::fromUtf8(row.groupText), this);
        box->setObjectName(QStringLiteral("group%1").arg(row.editId));
        units.Place(box, 5, row.boxY, 350, 30);
    }

    // Then the controls in the template's order, which is the tab order: OK, Cancel, then
    // each field with its button by id.
    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("1"));
    ok->setDefault(true);
    units.Place(ok, 305, 370, 50, 14);
    connect(ok, &QPushButton::clicked, this, &OptionsDialog::accept);

    auto* cancel = new QPushButton(QStringLiteral("Cancel"), this);
    cancel->setObjectName(QStringLiteral("2"));
    cancel->setAutoDefault(false);
    units.Place(cancel, 5, 370, 50, 14);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    std::array<const OptionsRow*, 11> byId{};
    for (std::size_t i = 0; i < kRows.size(); ++i) byId[i] = &kRows[i];
    std::sort(byId.begin(), byId.end(),
              [](const OptionsRow* a, const OptionsRow* b) { return a->editId < b->editId; });
    QWidget* previous = cancel;
    setTabOrder(ok, cancel);
    for (const OptionsRow* row : byId) {
        auto* edit = new QLineEdit(this);
        edit->setObjectName(QString::number(row->editId));
        edit->setReadOnly(true);
        units.Place(edit, 11, row->boxY + 11, 315, 15);
        edits_[static_cast<std::size_t>(row - kRows.data())] = edit;

        const int buttonId = row->editId + 1;
        auto* button = new QPushButton(QStringLiteral("..."), this);
        button->setObjectName(QString::number(buttonId));
        button->setAutoDefault(false);
        units.Place(button, 331, row->boxY + 11, 20, 14);
        connect(button, &QPushButton::clicked, this, [this, buttonId] { OnBrowse(buttonId); });

        setTabOrder(previous, edit);
        setTabOrder(edit, button);
        previous = button;
    }

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

bool OptionsDialog::BrowseForFile(std::string& buffer) {
    FileChoiceRequest request;
    request.initialText = buffer;
    if (buffer.find('.') != std::string::npos) {
        request.pattern = buffer;
        request.fileMustExist = true;
    }
    const std::optional<std::string> chosen = fileChooser_.ChooseFile(this, request);
    if (!chosen) return false;
    // Keep the folder of the choice with its trailing separator; its file name goes.
    const std::string folder = FolderOf(*chosen);
    // The folder must be stored whole to be loaded again; a longer one is refused, as the
    // Windows file dialog refuses it.
    if (folder.empty() || folder.size() > kMaxStoredPathLength) return false;
    buffer = folder;
    return true;
}

void OptionsDialog::OnBrowse(int buttonId) {
    const OptionsRow* row = RowOfButton(buttonId);
    if (row == nullptr) return;
    std::string buffer = row->initialText;
    if (!BrowseForFile(buffer)) return;

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

QString OptionsDialog::TitleOfRow(std::size_t row) {
    return QString::fromUtf8(kRows[row].groupText);
}

}  // namespace wendmoor
