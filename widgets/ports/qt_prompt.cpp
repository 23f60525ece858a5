#include "widgets/ports/qt_prompt.h"

#include <QApplication>
#include <QMessageBox>
#include <QTextBoundaryFinder>

namespace widgets {
namespace {

QMessageBox::Icon messageBoxIcon(base::PromptIcon icon) {
    switch (icon) {
        case base::PromptIcon::None:
            return QMessageBox::NoIcon;
        case base::PromptIcon::Information:
            return QMessageBox::Information;
        case base::PromptIcon::Warning:
            return QMessageBox::Warning;
        case base::PromptIcon::Error:
            return QMessageBox::Critical;
        case base::PromptIcon::Question:
            return QMessageBox::Question;
    }
    return QMessageBox::NoIcon;
}

// Runs of this many characters or more with no line-break opportunity (a long file name) get
// one after every character (shorter runs fit any box).
constexpr qsizetype kLongestUnbrokenRun = 40;

// `text` with zero-width spaces inside its long unbroken runs. A message box breaks lines only
// where the text allows it, so a long path or name would run past the box's edge; with these
// it wraps there instead. Nothing visible is added.
QString withBreakableRuns(const QString& text) {
    QString broken;
    broken.reserve(text.size());
    QTextBoundaryFinder lines(QTextBoundaryFinder::Line, text);
    qsizetype runStart = 0;
    while (runStart < text.size()) {
        lines.setPosition(runStart);
        qsizetype runEnd = lines.toNextBoundary();
        if (runEnd < 0) {
            runEnd = text.size();
        }
        const QString run = text.mid(runStart, runEnd - runStart);
        if (run.size() < kLongestUnbrokenRun) {
            broken += run;
        } else {
            QTextBoundaryFinder characters(QTextBoundaryFinder::Grapheme, run);
            qsizetype characterStart = 0;
            while (characterStart < run.size()) {
                characters.setPosition(characterStart);
                qsizetype characterEnd = characters.toNextBoundary();
                if (characterEnd < 0) {
                    characterEnd = run.size();
                }
                broken += run.mid(characterStart, characterEnd - characterStart);
                if (characterEnd < run.size()) {
                    broken += QChar(0x200B);  // zero-width space
                }
                characterStart = characterEnd;
            }
        }
        runStart = runEnd;
    }
    return broken;
}

}  // namespace

QString promptCaption(const base::PromptRequest& request) {
    if (!request.caption.isEmpty()) {
        return request.caption;
    }
    const QString displayName = QGuiApplication::applicationDisplayName();
    return displayName.isEmpty() ? QCoreApplication::applicationName() : displayName;
}

base::PromptAnswer QtPrompt::show(const base::PromptRequest& request) {
    if (request.buttons == base::PromptButtons::SaveDiscardCancel) {
        QMessageBox box(messageBoxIcon(request.icon), promptCaption(request), request.text,
                        QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel,
                        request.owner);
        box.setDefaultButton(QMessageBox::Save);
        box.setEscapeButton(QMessageBox::Cancel);
        const int pressed = box.exec();
        return pressed == QMessageBox::Save      ? base::PromptAnswer::Yes
               : pressed == QMessageBox::Discard ? base::PromptAnswer::No
                                                 : base::PromptAnswer::Cancel;
    }
    const bool yesNo = request.buttons == base::PromptButtons::YesNo;
    QMessageBox box(messageBoxIcon(request.icon), promptCaption(request),
                    withBreakableRuns(request.text),
                    yesNo ? (QMessageBox::Yes | QMessageBox::No) : QMessageBox::Ok, request.owner);
    box.setTextFormat(Qt::PlainText);
    if (yesNo) {
        box.setDefaultButton(QMessageBox::Yes);
        box.setEscapeButton(QMessageBox::No);
    }
    if (request.owner == nullptr) {
        box.setWindowModality(Qt::ApplicationModal);
    }
    const int pressed = box.exec();
    if (!yesNo) {
        return base::PromptAnswer::Ok;
    }
    return pressed == QMessageBox::Yes ? base::PromptAnswer::Yes : base::PromptAnswer::No;
}

}  // namespace widgets
