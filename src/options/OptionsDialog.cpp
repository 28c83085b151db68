#include "options/OptionsDialog.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "ui/DialogTemplate.h"
#include "ui/WindowTexts.h"
#include "widgets/QtText.h"
#include "widgets/TemplatePage.h"

namespace wendmoor {

OptionsDialog::OptionsDialog(GamePaths& paths, FileChooser& fileChooser, MessageBoxes& messages,
                             QWidget* parent, FinderServices* finder)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      state_(paths, fileChooser, messages, ParentOf(this)),
      messages_(messages),
      rows_(new TemplatePage(kOptionsWidth, kOptionsRowsHeight, OptionsRowControls())),
      bar_(new TemplatePage(kOptionsWidth, kOptionsBarHeight, OptionsBarControls(finder))) {
    setWindowTitle(kOptionsTitle);
    if (finder != nullptr) state_.EnableFinder(finder->places, finder->folders);
    for (const TemplateControl& control : OptionsRowControls()) {
        if (control.kind != TemplateKind::Button) continue;
        connect(rows_->Control<QPushButton>(control.objectName), &QPushButton::clicked, this,
                [this, row = control.id] { Browse(kOptionsRows[row].field); });
    }
    // Enter accepts the dialog, whichever button has the focus.
    for (auto* button : findChildren<QPushButton*>()) button->setAutoDefault(false);
    connect(bar_->Control<QPushButton>("cancelButton"), &QPushButton::clicked, this,
            &QDialog::reject);
    connect(bar_->Control<QPushButton>("okButton"), &QPushButton::clicked, this,
            &OptionsDialog::accept);
    if (auto* find = bar_->Control<QPushButton>("findGames")) {
        connect(find, &QPushButton::clicked, this, [this] {
            {
                const OverrideCursor wait;
                state_.FindGames();
            }
            UpdateFields();
        });
    }
    ShowScrolling(*this, rows_, bar_);
    UpdateFields();
    bar_->Control("okButton")->setFocus();
}

void OptionsDialog::UpdateFields() {
    for (std::size_t row = 0; row < kOptionsRowCount; ++row) {
        const std::string name = kOptionsRows[row].name;
        auto* field = rows_->Control<QLineEdit>(name + "Field");
        field->setText(ToQt(state_.Value(row)));
        field->setCursorPosition(0);
        auto* note = rows_->Control<QLabel>(name + "Origin");
        note->setText(ToQt(state_.RowNote(row)));
        note->setVisible(!note->text().isEmpty());
    }
    rows_->Arrange();
    if (auto* status = bar_->Control<QLabel>("findStatus"))
        status->setText(ToQt(state_.FindStatus()));
}

void OptionsDialog::Browse(std::string GamePaths::*field) {
    for (std::size_t row = 0; row < kOptionsRowCount; ++row) {
        if (kOptionsRows[row].field == field) state_.Browse(row);
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

void OptionsDialog::FillFromFindings(const GameFindings& findings) {
    state_.Fill(findings);
    UpdateFields();
}

}  // namespace wendmoor
