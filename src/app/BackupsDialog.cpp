#include "app/BackupsDialog.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "app/LaunchFollower.h"
#include "ui/ControlTexts.h"
#include "ui/WindowTexts.h"
#include "widgets/QtText.h"
#include "widgets/Seams.h"
#include "widgets/WaitCursor.h"

namespace wendmoor {

BackupsDialog::BackupsDialog(const std::string& gameName, BackupsList backups,
                             GuiServices& services, QWidget* parent)
    : QDialog(parent), backups_(std::move(backups)), services_(services) {
    setWindowTitle(ToQt(BackupsCaption(gameName)));
    auto* layout = new QVBoxLayout(this);
    auto* intro = new QLabel(QString::fromUtf8(kBackupsIntro), this);
    layout->addWidget(intro);

    list_ = new QTreeWidget(this);
    list_->setObjectName(QStringLiteral("backups"));
    list_->setAccessibleName(QString::fromUtf8(BackupsList::kAccessibleName));
    intro->setBuddy(list_);
    list_->setRootIsDecorated(false);
    list_->setUniformRowHeights(true);
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    QStringList headers;
    for (const char* column : BackupsList::kColumns) headers << QString::fromUtf8(column);
    list_->setHeaderLabels(headers);
    layout->addWidget(list_);

    auto* buttons = new QHBoxLayout;
    restoreButton_ = new QPushButton(QString::fromUtf8(kRestoreButton), this);
    openButton_ = new QPushButton(QString::fromUtf8(kOpenFolderButton), this);
    auto* close = new QPushButton(QString::fromUtf8(kCloseButton), this);
    buttons->addWidget(restoreButton_);
    buttons->addWidget(openButton_);
    buttons->addStretch();
    buttons->addWidget(close);
    layout->addLayout(buttons);
    connect(restoreButton_, &QPushButton::clicked, this, &BackupsDialog::OnRestore);
    connect(openButton_, &QPushButton::clicked, this, &BackupsDialog::OnOpenFolder);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    connect(list_, &QTreeWidget::itemSelectionChanged, this, &BackupsDialog::UpdateButtons);

    Reload();
    const QFontMetrics metrics(font());
    resize(metrics.averageCharWidth() * 120, metrics.height() * 22);
}

void BackupsDialog::Reload() {
    list_->clear();
    for (std::size_t row = 0; row < backups_.Count(); ++row) {
        auto* item = new QTreeWidgetItem(list_);
        const auto texts = backups_.RowTexts(row);
        for (std::size_t column = 0; column < texts.size(); ++column) {
            item->setText(static_cast<int>(column), ToQt(texts[column]));
        }
        item->setTextAlignment(4, Qt::AlignRight);
        item->setTextAlignment(5, Qt::AlignRight);
    }
    for (int column = 0; column < list_->columnCount(); ++column) {
        list_->resizeColumnToContents(column);
    }
    if (backups_.Count() > 0) list_->setCurrentItem(list_->topLevelItem(0));
    UpdateButtons();
}

void BackupsDialog::UpdateButtons() {
    restoreButton_->setEnabled(SelectedRow() < backups_.Count());
    openButton_->setEnabled(SelectedRow() < backups_.Count());
}

bool BackupsDialog::Select(const std::string& name) {
    const std::size_t row = backups_.RowOf(name);
    if (row >= backups_.Count()) return false;
    list_->setCurrentItem(list_->topLevelItem(static_cast<int>(row)));
    return true;
}

std::size_t BackupsDialog::SelectedRow() const {
    const int row = list_->indexOfTopLevelItem(list_->currentItem());
    return row < 0 ? backups_.Count() : static_cast<std::size_t>(row);
}

void BackupsDialog::OnRestore() {
    const std::size_t row = SelectedRow();
    if (row >= backups_.Count()) return;
    const std::string name = backups_.At(row).name;
    std::string report;
    {
        const WaitCursor wait;
        const NormalCursor forTheQuestion;
        report = backups_.Restore(row, services_.messages, ParentOf(this));
    }
    Reload();
    Select(name);
    if (!report.empty())
        services_.messages.ShowInformation(ParentOf(this), kAppCaption, report, {});
}

void BackupsDialog::OnOpenFolder() {
    const std::size_t row = SelectedRow();
    if (row >= backups_.Count()) return;
    const std::string folder = backups_.At(row).folder;
    OpenAndFollow(services_.launcher, services_.messages, this, folder, folder);
}

}  // namespace wendmoor
