// The options dialog's part in finding the games: the "Find games" button, the filling of the
// empty rows, where each row's value came from, and the proposed folders made on OK.
#include <QFile>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "finder/FolderFill.h"
#include "settings/dialog/OptionsDialog.h"
#include "widgets/DialogUnits.h"
#include "widgets/FinderSeams.h"
#include "widgets/GroupFrame.h"
#include "widgets/WaitCursor.h"

namespace wendmoor {

namespace {

constexpr std::size_t kRowCount = 11;

QString Display(const std::string& bytes) {
    return QFile::decodeName(QByteArray::fromStdString(bytes));
}

std::size_t RowOf(std::string GamePaths::*field,
                  std::string GamePaths::* (*fieldOfRow)(std::size_t)) {
    for (std::size_t row = 0; row < kRowCount; ++row) {
        if (fieldOfRow(row) == field) return row;
    }
    return 0;
}

}  // namespace

void OptionsDialog::EnableFinder(const FinderPlaces& places, FolderPicker& picker) {
    if (picker_ != nullptr) return;
    places_ = places;
    picker_ = &picker;
    const DialogUnits units(font());

    auto* find = new QPushButton(QStringLiteral("Find games"), this);
    find->setObjectName(QStringLiteral("findGames"));
    find->setAutoDefault(false);
    units.Place(find, 60, 370, 50, 14);
    connect(find, &QPushButton::clicked, this, &OptionsDialog::OnFindGames);
    find->show();

    findStatus_ = new QLabel(this);
    findStatus_->setObjectName(QStringLiteral("findStatus"));
    units.Place(findStatus_, 115, 370, 185, 14);
    findStatus_->show();

    // Each origin stands on its group box's top line, at the right, as the title does at the
    // left; it takes the box's background so the line does not run through it.
    QFont italic = font();
    italic.setItalic(true);
    const int gap = qMax(2, QFontMetrics(italic).averageCharWidth() / 3);
    for (std::size_t row = 0; row < kRowCount; ++row) {
        auto* frame = findChild<GroupFrame*>(NameOfRow(row) + QStringLiteral("Group"));
        auto* label = new QLabel(frame != nullptr ? static_cast<QWidget*>(frame) : this);
        label->setObjectName(NameOfRow(row) + QStringLiteral("Origin"));
        label->setFont(italic);
        label->setAutoFillBackground(true);
        label->setContentsMargins(gap, 0, gap, 0);
        origins_[row] = label;
    }
    ShowOrigins();
}

QString OptionsDialog::OriginText(int editId) const {
    for (std::size_t row = 0; row < kRowCount && picker_ != nullptr; ++row) {
        if (EditIdOfRow(row) != editId) continue;
        const std::string& value = working_.*FieldOfRow(row);
        const std::optional<FoundFolder>& found = found_[row];
        const bool fromFinder = found && found->folder == value;
        if (value.empty()) return {};
        if (fromFinder && proposalFailed_[row]) {
            return QStringLiteral("could not be made: choose another folder");
        }
        if (fromFinder && found->proposed)
            return QStringLiteral("proposed: made when you click OK");
        if (fromFinder) return QStringLiteral("found: ") + Display(found->origin);
        if (value == paths_.*FieldOfRow(row)) return QStringLiteral("from your settings");
        return QStringLiteral("chosen by you");
    }
    return {};
}

void OptionsDialog::ShowOrigins() {
    if (picker_ == nullptr) return;
    for (std::size_t row = 0; row < kRowCount; ++row) {
        QLabel* label = origins_[row];
        const QString text = OriginText(EditIdOfRow(row));
        QWidget* frame = label->parentWidget();
        const QFontMetrics metrics(label->font());
        const int widest = frame->width() / 2;
        label->setText(metrics.elidedText(text, Qt::ElideMiddle, widest));
        label->setToolTip(text);
        label->adjustSize();
        label->move(frame->width() - label->width() - metrics.averageCharWidth() - 1, 0);
        label->setVisible(!text.isEmpty());
    }
}

bool OptionsDialog::FillFromFindings(const GameFindings& findings) {
    const auto pick =
        [this](const GamePathField& field,
               const std::vector<FoundFolder>& candidates) -> std::optional<std::size_t> {
        if (picker_ == nullptr) return std::nullopt;
        return picker_->PickFolder(this, TitleOfRow(RowOf(field.member, FieldOfRow)), candidates);
    };
    int filled = 0;
    for (const RowFill& row : FillEmptyFolders(working_, findings, places_, pick)) {
        if (!row.taken) continue;
        const std::size_t index = RowOf(row.field, FieldOfRow);
        found_[index] = row.candidates[*row.taken];
        proposalFailed_[index] = false;
        ++filled;
    }
    UpdateFields();
    if (findStatus_ != nullptr) {
        QString status = QStringLiteral("%1 empty rows filled: check them, then OK.").arg(filled);
        if (filled == 1) status = QStringLiteral("1 empty row filled: check it, then OK.");
        if (filled == 0) status = QStringLiteral("Nothing new for the empty rows.");
        if (findings.Empty()) status = QStringLiteral("No game found.");
        if (findings.StoppedEarly()) {
            status += QLatin1Char(' ') + QString::fromStdString(findings.StoppedEarlyNote());
        }
        findStatus_->setText(status);
    }
    return filled > 0;
}

void OptionsDialog::OnFindGames() {
    GameFindings findings;
    {
        const WaitCursor wait;
        findings = FindGames(places_);
    }
    FillFromFindings(findings);
}

bool OptionsDialog::MakeAcceptedProposals() {
    bool allMade = true;
    for (std::size_t row = 0; row < kRowCount; ++row) {
        std::optional<FoundFolder>& found = found_[row];
        if (!found || !found->proposed || found->folder != working_.*FieldOfRow(row)) continue;
        proposalFailed_[row] = !MakeProposedFolder(found->folder).Ok();
        if (proposalFailed_[row]) {
            allMade = false;
        } else {
            found->proposed = false;
            found->origin = "made on OK";
        }
    }
    ShowOrigins();
    return allMade;
}

}  // namespace wendmoor
