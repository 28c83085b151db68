#include "app/BackupsDialog.h"
#include "app/LaunchFollower.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "platform/Launcher.h"
#include "widgets/Seams.h"
#include "widgets/WaitCursor.h"

namespace wendmoor {

namespace {

constexpr std::size_t kMostLines = 15;

QString Local(const std::string& bytes) {
    return QString::fromLocal8Bit(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

}  // namespace

QString MessageLines(const std::vector<std::string>& lines) {
    QString text;
    for (std::size_t i = 0; i < lines.size() && i < kMostLines; ++i) {
        text += Local(lines[i]) + QLatin1Char('\n');
    }
    if (lines.size() > kMostLines) {
        text += QStringLiteral("... and %1 more\n").arg(lines.size() - kMostLines);
    }
    return text;
}

QString KeptFilesText(const KeptFiles& kept) {
    if (kept.files.empty()) return {};
    return QStringLiteral(
               "Before these files were replaced or deleted, what they held was kept "
               "in\n%1\n\n")
               .arg(Local(kept.folder)) +
           MessageLines(kept.files) +
           QStringLiteral("\nTo put it back, right-click the window and choose \"Backups...\".\n");
}

BackupsDialog::BackupsDialog(const QString& gameName, ListBackupsFunction list,
                             RestoreFunction restore, GuiServices& services, QWidget* parent)
    : QDialog(parent),
      listBackups_(std::move(list)),
      restore_(std::move(restore)),
      services_(services) {
    setWindowTitle(QStringLiteral("Backups of %1").arg(gameName));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(
        QStringLiteral("Your own files that installs replaced and deinstalls deleted, newest "
                       "first:"),
        this));

    list_ = new QTreeWidget(this);
    list_->setObjectName(QStringLiteral("backups"));
    list_->setRootIsDecorated(false);
    list_->setUniformRowHeights(true);
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    list_->setHeaderLabels({QStringLiteral("Name"), QStringLiteral("Date"),
                            QStringLiteral("Package"), QStringLiteral("Command"),
                            QStringLiteral("Files"), QStringLiteral("Size")});
    layout->addWidget(list_);

    auto* buttons = new QHBoxLayout;
    restoreButton_ = new QPushButton(QStringLiteral("Restore"), this);
    openButton_ = new QPushButton(QStringLiteral("Open folder"), this);
    auto* close = new QPushButton(QStringLiteral("Close"), this);
    buttons->addWidget(restoreButton_);
    buttons->addWidget(openButton_);
    buttons->addStretch();
    buttons->addWidget(close);
    layout->addLayout(buttons);
    connect(restoreButton_, &QPushButton::clicked, this, &BackupsDialog::OnRestore);
    connect(openButton_, &QPushButton::clicked, this, &BackupsDialog::OnOpenFolder);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    connect(list_, &QTreeWidget::itemSelectionChanged, this, [this] {
        restoreButton_->setEnabled(Selected() != nullptr);
        openButton_->setEnabled(Selected() != nullptr);
    });

    Reload();
    const QFontMetrics metrics(font());
    resize(metrics.averageCharWidth() * 120, metrics.height() * 22);
}

void BackupsDialog::Reload() {
    backups_ = listBackups_();
    list_->clear();
    const QLocale locale;
    for (const BackupInfo& backup : backups_) {
        auto* item = new QTreeWidgetItem(list_);
        item->setText(0, Local(backup.name));
        item->setText(1, Local(backup.time));
        item->setText(2, Local(backup.package));
        item->setText(3, Local(backup.command));
        item->setText(4, QString::number(backup.files.size()));
        item->setText(5, locale.formattedDataSize(static_cast<qint64>(backup.Size())));
        item->setTextAlignment(4, Qt::AlignRight);
        item->setTextAlignment(5, Qt::AlignRight);
    }
    for (int column = 0; column < list_->columnCount(); ++column) {
        list_->resizeColumnToContents(column);
    }
    if (!backups_.empty()) list_->setCurrentItem(list_->topLevelItem(0));
    restoreButton_->setEnabled(Selected() != nullptr);
    openButton_->setEnabled(Selected() != nullptr);
}

bool BackupsDialog::Select(const std::string& name) {
    for (std::size_t i = 0; i < backups_.size(); ++i) {
        if (backups_[i].name == name) {
            list_->setCurrentItem(list_->topLevelItem(static_cast<int>(i)));
            return true;
        }
    }
    return false;
}

const BackupInfo* BackupsDialog::Selected() const {
    const int row = list_->indexOfTopLevelItem(list_->currentItem());
    if (row < 0 || static_cast<std::size_t>(row) >= backups_.size()) return nullptr;
    return &backups_[static_cast<std::size_t>(row)];
}

void BackupsDialog::OnRestore() {
    const BackupInfo* selected = Selected();
    if (selected == nullptr) return;
    const std::string name = selected->name;
    RestoreResult result;
    {
        const WaitCursor wait;
        result = restore_(name, false);
    }
    if (result.needsForce) {
        if (!AskToForce(result)) return;
        const WaitCursor wait;
        result = restore_(name, true);
    }
    Report(name, result);
    Reload();  // a forced restore made a backup of its own
    Select(name);
}

bool BackupsDialog::AskToForce(const RestoreResult& refused) {
    const NormalCursor normal;
    QDialog question(this);
    question.setWindowTitle(QString::fromLatin1(kForceQuestionTitle));
    auto* layout = new QVBoxLayout(&question);
    layout->addWidget(new QLabel(
        QStringLiteral("These files changed since the backup was made:\n\n") +
            MessageLines(refused.conflicts) +
            QStringLiteral("\nReplace them anyway? Their present version is kept in a new "
                           "backup first."),
        &question));
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Yes | QDialogButtonBox::No, &question);
    buttons->button(QDialogButtonBox::No)->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, &question, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, &question, &QDialog::reject);
    layout->addWidget(buttons);
    return services_.dialogs.Run(question) == QDialog::Accepted;
}

void BackupsDialog::Report(const std::string& name, const RestoreResult& result) {
    QString text;
    if (!result.restored.empty()) {
        text += QStringLiteral("Put back from %1:\n\n").arg(Local(name)) +
                MessageLines(result.restored);
    } else if (result.outcome.Ok()) {
        text += QStringLiteral("Every file of %1 is in its place already.\n").arg(Local(name));
    }
    if (!result.outcome.Ok()) {
        if (!text.isEmpty()) text += QLatin1Char('\n');
        text += QStringLiteral("Not everything could be put back:\n\n") +
                MessageLines(result.outcome.Lines());
    }
    if (!result.kept.files.empty()) text += QLatin1Char('\n') + KeptFilesText(result.kept);
    services_.messages.ShowInformation(this, QStringLiteral("Wendmoor"), text);
}

void BackupsDialog::OnOpenFolder() {
    const BackupInfo* selected = Selected();
    if (selected == nullptr) return;
    const std::string folder = selected->folder;
    OpenAndFollow(services_.launcher, services_.messages, this, folder, folder);
}

}  // namespace wendmoor
