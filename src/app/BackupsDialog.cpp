#include "app/BackupsDialog.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>

#include "ui/ControlTexts.h"
#include "ui/WindowTexts.h"
#include "widgets/QtSeams.h"
#include "widgets/QtText.h"

namespace wendmoor {

BackupsDialog::BackupsDialog(const std::string& gameName, BackupsList backups,
                             GuiServices& services, QWidget* parent)
    : QDialog(parent), backups_(std::move(backups)), services_(services), list_(new QTreeWidget) {
    setWindowTitle(ToQt(BackupsCaption(gameName)));
    auto* layout = new QVBoxLayout(this);
    auto* intro = new QLabel(kBackupsIntro, this);
    intro->setBuddy(list_);
    layout->addWidget(intro);
    list_->setObjectName(QStringLiteral("backups"));
    list_->setAccessibleName(BackupsList::kAccessibleName);
    list_->setRootIsDecorated(false);
    list_->setUniformRowHeights(true);
    QStringList headers;
    for (const char* column : BackupsList::kColumns) headers << column;
    list_->setHeaderLabels(headers);
    layout->addWidget(list_);

    auto* buttons = new QHBoxLayout;
    layout->addLayout(buttons);
    for (const auto& [text, action] :
         {std::pair{kRestoreButton, &BackupsDialog::OnRestore},
          std::pair{kOpenFolderButton, &BackupsDialog::OnOpenFolder}}) {
        auto* button = new QPushButton(text, this);
        buttons->addWidget(button);
        connect(button, &QPushButton::clicked, this, action);
        // Only with a backup selected.
        connect(list_, &QTreeWidget::itemSelectionChanged, button,
                [this, button] { button->setEnabled(SelectedRow() < backups_.Count()); });
    }
    buttons->addStretch();
    auto* close = new QPushButton(kCloseButton, this);
    buttons->addWidget(close);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    Reload({});
    const QFontMetrics metrics(font());
    resize(metrics.averageCharWidth() * 120, metrics.height() * 22);
}

void BackupsDialog::Reload(const std::string& selected) {
    list_->clear();
    for (std::size_t row = 0; row < backups_.Count(); ++row) {
        auto* item = new QTreeWidgetItem(list_);
        const auto texts = backups_.RowTexts(row);
        for (int column = 0; column < static_cast<int>(texts.size()); ++column) {
            item->setText(column, ToQt(texts[static_cast<std::size_t>(column)]));
            if (BackupsList::kRightAligned[static_cast<std::size_t>(column)])
                item->setTextAlignment(column, Qt::AlignRight);
        }
    }
    for (int column = 0; column < list_->columnCount(); ++column)
        list_->resizeColumnToContents(column);
    const std::size_t row = backups_.RowOf(selected);
    list_->setCurrentItem(list_->topLevelItem(row < backups_.Count() ? static_cast<int>(row) : 0));
    emit list_->itemSelectionChanged();
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
        const OverrideCursor wait;
        const OverrideCursor forTheQuestion(Qt::ArrowCursor);
        report = backups_.Restore(row, services_.messages, ParentOf(this));
    }
    Reload(name);
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
