#include "settings/dialog/OptionsDialog.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "ui/ControlTexts.h"
#include "ui/DialogLayouts.h"
#include "ui/WindowTexts.h"
#include "widgets/GroupFrame.h"
#include "widgets/QtText.h"
#include "widgets/TemplatePage.h"
#include "widgets/WaitCursor.h"

namespace wendmoor {

namespace {

constexpr TemplatePage::Growth kGrowsWide{0, 2, 0, 0};
constexpr TemplatePage::Growth kMovesRight{2, 0, 0, 0};

void PlaceAt(TemplatePage* page, QWidget* widget, const UnitRect& rect, int top,
             TemplatePage::Growth growth = {}) {
    page->Place(widget, rect.x, top + rect.y, rect.width, rect.height, growth);
}

QPushButton* MakeButton(QWidget* parent, const char* name, const char* text) {
    auto* button = new QPushButton(QString::fromUtf8(text), parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setAutoDefault(false);
    return button;
}

}  // namespace

OptionsDialog::OptionsDialog(GamePaths& paths, FileChooser& fileChooser, MessageBoxes& messages,
                             QWidget* parent)
    : QDialog(parent), state_(paths, fileChooser, messages, ParentOf(this)), messages_(messages) {
    setWindowTitle(QString::fromUtf8(kOptionsTitle));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    auto* rows = new TemplatePage(kOptionsWidth, kOptionsRowsHeight);
    QFont italic = font();
    italic.setItalic(true);
    for (std::size_t i = 0; i < kOptionsRowCount; ++i) {
        const OptionsRow& row = kOptionsRows[i];
        const QString name = QString::fromLatin1(row.name);
        auto* box = new GroupFrame(QString::fromUtf8(row.title), rows);
        box->setObjectName(name + QStringLiteral("Group"));
        PlaceAt(rows, box, kOptionsRowBox, row.boxY, kGrowsWide);
        // The note stands on the box's top line, at the right, as the title does at the left.
        auto* note = new QLabel(rows);
        note->setObjectName(name + QStringLiteral("Origin"));
        note->setFont(italic);
        note->setAutoFillBackground(true);
        note->setContentsMargins(2, 0, 2, 0);
        PlaceAt(rows, note, kOptionsRowNote, row.boxY, {0, 2, 0, 0, true});
        notes_[i] = note;
    }
    // The controls in their tab order: the rows top to bottom, each field and then its button.
    for (std::size_t i = 0; i < kOptionsRowCount; ++i) {
        const OptionsRow& row = kOptionsRows[i];
        const QString spokenName = QString::fromUtf8(row.spokenName);
        auto* edit = new QLineEdit(rows);
        edit->setObjectName(QString::fromLatin1(row.name) + QStringLiteral("Field"));
        edit->setReadOnly(true);
        // Read-only looks read-only: the window's background, no frame of an input field.
        edit->setFrame(false);
        edit->setBackgroundRole(QPalette::Window);
        edit->setAccessibleName(spokenName);
        edit->setAccessibleDescription(QString::fromUtf8(row.title) +
                                       QString::fromUtf8(kOptionsFieldNote));
        PlaceAt(rows, edit, kOptionsRowField, row.boxY, kGrowsWide);
        edits_[i] = edit;

        auto* button = MakeButton(rows, "", "...");
        button->setObjectName(QString::fromLatin1(row.name) + QStringLiteral("Browse"));
        button->setAccessibleName(QString::fromUtf8(kOptionsBrowseName) + spokenName);
        PlaceAt(rows, button, kOptionsRowBrowse, row.boxY, kMovesRight);
        const int buttonId = row.editId + 1;
        connect(button, &QPushButton::clicked, this, [this, buttonId] { OnBrowse(buttonId); });
    }

    // OK and Cancel below the rows, always in view.
    buttonBar_ = new TemplatePage(kOptionsWidth, kOptionsBarHeight);
    auto* bar = static_cast<TemplatePage*>(buttonBar_);
    auto* cancel = MakeButton(bar, "cancelButton", kCancelButton);
    PlaceAt(bar, cancel, kOptionsCancelButton, 0);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    auto* ok = MakeButton(bar, "okButton", kOkButton);
    ok->setDefault(true);
    PlaceAt(bar, ok, kOptionsOkButton, 0, kMovesRight);
    connect(ok, &QPushButton::clicked, this, &OptionsDialog::accept);
    ShowScrolling(*this, rows, buttonBar_);
    UpdateFields();
    ok->setFocus();
}

void OptionsDialog::UpdateFields() {
    for (std::size_t i = 0; i < kOptionsRowCount; ++i) {
        edits_[i]->setText(ToQt(state_.Value(i)));
        edits_[i]->setCursorPosition(0);
        const QString note = ToQt(state_.RowNote(i));
        notes_[i]->setText(note);
        notes_[i]->setVisible(!note.isEmpty());
    }
    static_cast<TemplatePage*>(notes_[0]->parentWidget())->Arrange();
    if (findStatus_ != nullptr) findStatus_->setText(ToQt(state_.FindStatus()));
}

void OptionsDialog::OnBrowse(int buttonId) {
    for (std::size_t row = 0; row < kOptionsRowCount; ++row) {
        if (kOptionsRows[row].editId + 1 == buttonId) state_.Browse(row);
    }
    UpdateFields();
}

void OptionsDialog::accept() {
    const bool accepted = state_.Accept();
    UpdateFields();
    if (accepted) QDialog::accept();
}

void OptionsDialog::reject() {
    if (askBeforeDiscarding_ && state_.HoldsFoundValues() &&
        !messages_.AskYesNo(ParentOf(this), kFindGamesCaption, DiscardFoundQuestion(state_))) {
        accept();
        return;
    }
    QDialog::reject();
}

void OptionsDialog::EnableFinder(const FinderPlaces& places, FolderPicker& picker) {
    if (state_.FinderEnabled()) return;
    state_.EnableFinder(places, picker);
    auto* bar = static_cast<TemplatePage*>(buttonBar_);
    auto* find = MakeButton(bar, "findGames", kFindGamesButton);
    PlaceAt(bar, find, kOptionsFindButton, 0);
    connect(find, &QPushButton::clicked, this, &OptionsDialog::OnFindGames);
    find->show();
    findStatus_ = new QLabel(bar);
    findStatus_->setObjectName(QStringLiteral("findStatus"));
    PlaceAt(bar, findStatus_, kOptionsFindStatus, 0, kGrowsWide);
    findStatus_->show();
    UpdateFields();
}

void OptionsDialog::OnFindGames() {
    {
        const WaitCursor wait;
        state_.FindGames();
    }
    UpdateFields();
}

bool OptionsDialog::FillFromFindings(const GameFindings& findings) {
    const bool filled = state_.Fill(findings) > 0;
    UpdateFields();
    return filled;
}

QString OptionsDialog::OriginText(int editId) const {
    for (std::size_t row = 0; row < kOptionsRowCount; ++row) {
        if (kOptionsRows[row].editId == editId) return ToQt(state_.RowNote(row));
    }
    return {};
}

}  // namespace wendmoor
