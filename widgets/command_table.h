#pragma once

#include <QString>
#include <QStringList>

#include <functional>
#include <vector>

#include "widgets/dialog_controls.h"

namespace widgets {

// What a control reports. Each maps onto a Qt signal of the control's kind:
//   Clicked          QAbstractButton::clicked
//   DoubleClicked    item views: a double click on the view (rows or empty area)
//   RightClicked     item views and buttons: a right-button click (context menu request)
//   SelectionChanged QComboBox::activated (the user's choice only, not programmatic changes);
//                    item views: the selection model's selectionChanged
//   SliderReleased   QAbstractSlider::sliderReleased (the mouse let go of the thumb)
//   TextChanged      QLineEdit::textEdited (the user's typing only)
//   Toggled          QAbstractButton::toggled (check boxes)
enum class Notification {
    Clicked,
    DoubleClicked,
    RightClicked,
    SelectionChanged,
    SliderReleased,
    TextChanged,
    Toggled,
};

QString notificationName(Notification notification);

struct CommandEntry {
    int controlId = 0;
    Notification notification = Notification::Clicked;
    std::function<void()> handler;
};

// One window's table of control id + notification -> handler, kept in one place. wire()
// connects every entry to its control's signal; the connections end with the controls.
// dispatch() runs the handler directly, as the signal would.
class CommandTable {
  public:
    CommandTable() = default;
    CommandTable(std::initializer_list<CommandEntry> entries) : m_entries(entries) {}

    void add(CommandEntry entry) { m_entries.push_back(std::move(entry)); }
    const std::vector<CommandEntry>& entries() const { return m_entries; }

    // Connects every entry. Returns one line per entry that could not be wired (missing
    // control, or a notification the control's kind does not have); empty when all were.
    [[nodiscard]] QStringList wire(const DialogControls& controls) const;

    // Runs the handler(s) of (controlId, notification); false when the table has none.
    bool dispatch(int controlId, Notification notification) const;

  private:
    std::vector<CommandEntry> m_entries;
};

}  // namespace widgets
