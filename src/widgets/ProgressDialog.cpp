#include "widgets/ProgressDialog.h"

#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

#include "ui/ControlTexts.h"
#include "ui/MainWindowTemplate.h"
#include "widgets/QtText.h"

namespace wendmoor {

ProgressDialog::ProgressDialog(std::function<void()> onCancel, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      onCancel_(std::move(onCancel)),
      text_(new QLabel(this)),
      bar_(new QProgressBar(this)) {
    setWindowTitle(kMainWindowTitle);
    auto* layout = new QVBoxLayout(this);
    text_->setTextFormat(Qt::PlainText);
    const QFontMetrics metrics(font());
    text_->setMinimumSize(metrics.averageCharWidth() * 60, metrics.lineSpacing() * 3);
    layout->addWidget(text_);
    bar_->setRange(0, 1000);
    bar_->setTextVisible(false);
    bar_->setAccessibleName(kProgressName);
    layout->addWidget(bar_);
    if (!onCancel_) return;
    auto* cancel = new QPushButton(kCancelButton, this);
    cancel->setObjectName(QStringLiteral("cancelButton"));
    layout->addWidget(cancel, 0, Qt::AlignRight);
    connect(cancel, &QPushButton::clicked, this, &ProgressDialog::reject);
}

void ProgressDialog::Show(const std::string& text, int permille) {
    text_->setText(ToQt(text));
    bar_->setValue(permille);
    if (!isVisible()) show();
}

void ProgressDialog::reject() {
    if (!onCancel_) return;
    onCancel_();
    findChild<QPushButton*>()->setEnabled(false);
}

}  // namespace wendmoor
