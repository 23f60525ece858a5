#pragma once

// Drives the modal windows a user action opens (the real QFileDialog, message boxes) with real
// key events, while the action runs its own modal loop. Header only: for test executables
// that link Qt Widgets and Qt Test.

#include <QAbstractItemView>
#include <QApplication>
#include <QCompleter>
#include <QDialog>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QStringList>
#include <QTest>
#include <QTimer>

#include <functional>
#include <vector>

namespace test_support {

// One step of a script: waits until `ready` holds for the active modal window, then `act`
// runs on it.
struct ModalStep {
    std::function<bool(QWidget&)> ready;
    std::function<void(QWidget&)> act;
};

// Runs `action`, which opens modal windows and returns once they are closed, while a timer
// plays `steps` in order against QApplication::activeModalWidget(). A step may open another
// modal window from its `act`; the script goes on inside that window's loop. When the next
// step has not become ready for `timeoutMs`, every modal window is closed so the action
// returns. Returns how many steps ran.
inline int runWithModalScript(const std::function<void()>& action, std::vector<ModalStep> steps,
                              int timeoutMs = 20'000) {
    std::size_t next = 0;
    QElapsedTimer sinceLastStep;
    sinceLastStep.start();
    QTimer timer;
    timer.setInterval(10);
    QObject::connect(&timer, &QTimer::timeout, [&] {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal == nullptr) {
            return;
        }
        if (next < steps.size() && steps[next].ready(*modal)) {
            const std::function<void(QWidget&)> act = steps[next++].act;
            sinceLastStep.restart();
            // Acted on from an event of its own: an act that opens another modal window
            // returns only when that closes, and this timer does not fire while its own
            // handler runs.
            QTimer::singleShot(0, modal, [act, modal] { act(*modal); });
            return;
        }
        if (sinceLastStep.elapsed() > timeoutMs) {
            if (auto* dialog = qobject_cast<QDialog*>(modal)) {
                dialog->reject();
            } else {
                modal->close();
            }
        }
    });
    timer.start();
    action();
    timer.stop();
    return static_cast<int>(next);
}

// The names a QFileDialog lists in its current folder under its current filter.
inline QStringList fileDialogNames(QFileDialog& dialog) {
    QStringList names;
    auto* view = dialog.findChild<QAbstractItemView*>(QStringLiteral("listView"));
    if (view == nullptr || view->model() == nullptr) {
        return names;
    }
    const QModelIndex root = view->rootIndex();
    for (int row = 0; row < view->model()->rowCount(root); ++row) {
        names << view->model()->index(row, 0, root).data().toString();
    }
    return names;
}

inline QLineEdit* fileDialogNameBox(QFileDialog& dialog) {
    return dialog.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
}

// Ready when the active modal window is a QFileDialog listing `name`.
inline std::function<bool(QWidget&)> fileDialogListing(const QString& name) {
    return [name](QWidget& modal) {
        auto* dialog = qobject_cast<QFileDialog*>(&modal);
        return dialog != nullptr && fileDialogNames(*dialog).contains(name);
    };
}

// Ready when the active modal window is a box (not a file dialog) showing `textPart`.
inline std::function<bool(QWidget&)> boxSaying(const QString& textPart) {
    return [textPart](QWidget& modal) {
        if (qobject_cast<QFileDialog*>(&modal) != nullptr) {
            return false;
        }
        for (const QLabel* label : modal.findChildren<QLabel*>()) {
            if (label->text().contains(textPart)) {
                return true;
            }
        }
        return false;
    };
}

// Types `text` into the file dialog's name box (replacing what it holds) and presses Enter.
inline void typeNameAndPressEnter(QWidget& modal, const QString& text) {
    auto& dialog = static_cast<QFileDialog&>(modal);
    QLineEdit* box = fileDialogNameBox(dialog);
    if (box == nullptr) {
        dialog.reject();
        return;
    }
    // The offscreen platform activates no window by itself; the name box needs the focus as it
    // has under a user's hands.
    QApplication::setActiveWindow(&dialog);
    box->setFocus();
    QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(box, Qt::Key_Backspace);
    QTest::keyClicks(box, text);
    // The completion list that opens over a name matching an existing file would take the
    // Enter; the user's Enter here is meant for the dialog.
    if (box->completer() != nullptr && box->completer()->popup()->isVisible()) {
        box->completer()->popup()->hide();
    }
    QTest::keyClick(box, Qt::Key_Return);
}

// A save dialog whose folder lists `listedName`: the user reads the offered name into
// `offeredName`, types `pattern` and presses Enter, confirms the box that refuses the pattern,
// then types `name` and presses Enter. Three steps.
inline std::vector<ModalStep> patternRefusedThenNamed(const QString& listedName,
                                                      const QString& pattern, const QString& name,
                                                      QString& offeredName) {
    return {{fileDialogListing(listedName),
             [pattern, &offeredName](QWidget& modal) {
                 offeredName = fileDialogNameBox(static_cast<QFileDialog&>(modal))->text();
                 typeNameAndPressEnter(modal, pattern);
             }},
            {boxSaying(QStringLiteral("\"%1\" is a pattern").arg(pattern)),
             [](QWidget& box) { QTest::keyClick(&box, Qt::Key_Return); }},
            {fileDialogListing(listedName),
             [name](QWidget& modal) { typeNameAndPressEnter(modal, name); }}};
}

}  // namespace test_support
