#pragma once

// For Qt tests: a window shown and made the active one, as a user's click would leave it, so
// that its window shortcuts and focus work on the offscreen platform.

#include <QApplication>
#include <QTest>
#include <QWidget>

namespace test_support {

// True once `window` is shown and active.
[[nodiscard]] inline bool showActive(QWidget& window) {
    window.show();
    QApplication::setActiveWindow(&window);
    return QTest::qWaitForWindowActive(&window);
}

}  // namespace test_support
