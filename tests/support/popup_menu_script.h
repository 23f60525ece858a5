#pragma once

// Drives a popup menu that a user action opens (QMenu::exec runs its own loop) with real key
// events. Header only: for test executables that link Qt Widgets and Qt Test.

#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QElapsedTimer>
#include <QMenu>
#include <QStringList>
#include <QTest>
#include <QTimer>

#include <functional>

namespace test_support {

// What the menu showed when it opened: each item's text ("" for a separator), whether it was
// enabled, and the bold (default) item's text.
struct MenuSeen {
    bool shown = false;
    QStringList texts;
    QList<bool> enabled;
    QString defaultText;
};

// A right click at `point` of `view`'s viewport as the window system delivers it: the button's
// press and release, then the context-menu request (which the offscreen platform does not make
// from the mouse by itself).
inline void rightClick(QAbstractItemView& view, QPoint point) {
    QTest::mouseClick(view.viewport(), Qt::RightButton, Qt::NoModifier, point);
    QContextMenuEvent request(QContextMenuEvent::Mouse, point, view.viewport()->mapToGlobal(point));
    QApplication::sendEvent(view.viewport(), &request);
}

// Runs `action`, which opens a popup menu and returns once it closes, and chooses the item
// whose text is `itemText` as a keyboard user does: Down until it is the active item, then
// Return. Escape instead when no enabled item has that text (or the menu does not open within
// `timeoutMs`, in which case nothing is pressed).
inline MenuSeen chooseFromMenu(const std::function<void()>& action, const QString& itemText,
                               int timeoutMs = 10'000) {
    MenuSeen seen;
    QElapsedTimer waited;
    waited.start();
    QTimer timer;
    timer.setInterval(10);
    QObject::connect(&timer, &QTimer::timeout, [&] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        if (menu == nullptr || seen.shown) {
            if (!seen.shown && waited.elapsed() > timeoutMs) {
                timer.stop();
            }
            return;
        }
        seen.shown = true;
        timer.stop();
        for (const QAction* item : menu->actions()) {
            seen.texts << (item->isSeparator() ? QString() : item->text());
            seen.enabled << item->isEnabled();
        }
        if (menu->defaultAction() != nullptr) {
            seen.defaultText = menu->defaultAction()->text();
        }
        for (qsizetype presses = 0; presses <= menu->actions().size(); ++presses) {
            if (menu->activeAction() != nullptr && menu->activeAction()->text() == itemText &&
                menu->activeAction()->isEnabled()) {
                QTest::keyClick(menu, Qt::Key_Return);
                return;
            }
            QTest::keyClick(menu, Qt::Key_Down);
        }
        QTest::keyClick(menu, Qt::Key_Escape);
    });
    timer.start();
    action();
    timer.stop();
    return seen;
}

}  // namespace test_support
