#include "widgets/ports/qt_prompt.h"

#include <QApplication>
#include <QMessageBox>

namespace widgets {
namespace {

QMessageBox::Icon messageBoxIcon(PromptIcon icon) {
    switch (icon) {
        case PromptIcon::None:
            return QMessageBox::NoIcon;
        case PromptIcon::Information:
            return QMessageBox::Information;
        case PromptIcon::Warning:
            return QMessageBox::Warning;
        case PromptIcon::Error:
            return QMessageBox::Critical;
        case PromptIcon::Question:
            return QMessageBox::Question;
    }
    return QMessageBox::NoIcon;
}

}  // namespace

QString promptCaption(const PromptRequest& request) {
    if (!request.caption.isEmpty()) {
        return request.caption;
    }
    const QString displayName = QGuiApplication::applicationDisplayName();
    return displayName.isEmpty() ? QCoreApplication::applicationName() : displayName;
}

PromptAnswer QtPrompt::show(const PromptRequest& request) {
    if (request.buttons == PromptButtons::SaveDiscardCancel) {
        QMessageBox box(messageBoxIcon(request.icon), promptCaption(request), request.text,
                        QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel,
                        request.owner);
        box.setDefaultButton(QMessageBox::Save);
        box.setEscapeButton(QMessageBox::Cancel);
        const int pressed = box.exec();
        return pressed == QMessageBox::Save      ? PromptAnswer::Yes
               : pressed == QMessageBox::Discard ? PromptAnswer::No
                                                 : PromptAnswer::Cancel;
    }
    const bool yesNo = request.buttons == PromptButtons::YesNo;
    QMessageBox box(messageBoxIcon(request.icon), promptCaption(request), request.text,
                    yesNo ? (QMessageBox::Yes | QMessageBox::No) : QMessageBox::Ok, request.owner);
    if (yesNo) {
        box.setDefaultButton(QMessageBox::Yes);
        box.setEscapeButton(QMessageBox::No);
    }
    if (request.owner == nullptr) {
        box.setWindowModality(Qt::ApplicationModal);
    }
    const int pressed = box.exec();
    if (!yesNo) {
        return PromptAnswer::Ok;
    }
    return pressed == QMessageBox::Yes ? PromptAnswer::Yes : PromptAnswer::No;
}

}  // namespace widgets
