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
      onCancel_(std::move(onCancel)) {
    setWindowTitle(QString::fromUtf8(kMainWindowTitle));
    auto* layout = new QVBoxLayout(this);
    text_ = new QLabel(this);
    text_->setTextFormat(Qt::PlainText);
    text_->setObjectName(QStringLiteral("progressText"));
    const QFontMetrics metrics(font());
    text_->setMinimumWidth(metrics.averageCharWidth() * 60);
    text_->setMinimumHeight(metrics.lineSpacing() * 3);
    layout->addWidget(text_);
    bar_ = new QProgressBar(this);
    bar_->setRange(0, 1000);
    bar_->setTextVisible(false);
    bar_->setAccessibleName(QString::fromUtf8(kProgressName));
    layout->addWidget(bar_);
    if (onCancel_) {
        cancel_ = new QPushButton(QString::fromUtf8(kCancelButton), this);
        cancel_->setObjectName(QStringLiteral("cancelButton"));
        layout->addWidget(cancel_, 0, Qt::AlignRight);
        connect(cancel_, &QPushButton::clicked, this, &ProgressDialog::reject);
    }
}

void ProgressDialog::Show(const std::string& text, int permille) {
    text_->setText(ToQt(text));
    bar_->setValue(permille);
    if (!isVisible()) show();
}

void ProgressDialog::reject() {
    if (!onCancel_) return;
    onCancel_();
    cancel_->setEnabled(false);
}

}  // namespace wendmoor
