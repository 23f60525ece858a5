#include "mixer/dialogs/missing_media_dialog.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace mixer {

MissingMediaDialog::MissingMediaDialog(MissingMedia& media, base::FilePickerPort& filePicker,
                                       const QString& startFolder, QWidget* parent)
    : QDialog(parent), media_(media), filePicker_(filePicker), lastFolder_(startFolder) {
    setWindowTitle(QString::fromUtf8(kMissingMediaTitle));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QString::fromUtf8(kMissingMediaText), this));
    list_ = new QListWidget(this);
    list_->setObjectName(QStringLiteral("missingFiles"));
    list_->setSelectionMode(QAbstractItemView::NoSelection);
    layout->addWidget(list_);
    searchResult_ = new QLabel(this);
    searchResult_->setObjectName(QStringLiteral("searchResult"));
    searchResult_->setWordWrap(true);
    searchResult_->hide();
    layout->addWidget(searchResult_);

    auto* buttons = new QHBoxLayout;
    auto* lookIn = new QPushButton(QString::fromUtf8(kLookInFolderText), this);
    auto* leaveOut = new QPushButton(QString::fromUtf8(kLeaveOutText), this);
    auto* cancel = new QPushButton(QString::fromUtf8(kCancelOpenText), this);
    lookIn->setDefault(true);
    buttons->addWidget(lookIn);
    buttons->addStretch();
    buttons->addWidget(leaveOut);
    buttons->addWidget(cancel);
    layout->addLayout(buttons);
    connect(lookIn, &QPushButton::clicked, this, &MissingMediaDialog::onLookInFolder);
    connect(leaveOut, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    showStillMissing();
    resize(560, 320);
}

void MissingMediaDialog::onLookInFolder() {
    const std::optional<QString> folder =
        filePicker_.chooseFolder({QString::fromUtf8(kLookInFolderTitle), lastFolder_, this});
    if (!folder) {
        return;
    }
    lastFolder_ = *folder;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const int found = media_.lookIn(*folder);
    QApplication::restoreOverrideCursor();
    if (media_.stillMissing().isEmpty()) {
        accept();
        return;
    }
    searchResult_->setText(
        QStringLiteral("%1 of the files were found in %2.").arg(found).arg(*folder));
    searchResult_->show();
    showStillMissing();
}

void MissingMediaDialog::showStillMissing() {
    list_->clear();
    list_->addItems(media_.stillMissing());
}

MissingMediaChoice runMissingMediaDialog(MissingMedia& media, base::FilePickerPort& filePicker,
                                         const QString& startFolder, QWidget* owner) {
    MissingMediaDialog dialog(media, filePicker, startFolder, owner);
    return dialog.exec() == QDialog::Accepted ? MissingMediaChoice::OpenProject
                                              : MissingMediaChoice::CancelOpen;
}

}  // namespace mixer
