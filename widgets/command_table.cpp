#include "widgets/command_table.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractSlider>
#include <QComboBox>
#include <QEvent>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QMouseEvent>

namespace widgets {
namespace {

// Reports double clicks anywhere on an item view's viewport, rows or empty area, as the list
// controls of the programs always did.
class DoubleClickWatcher : public QObject {
  public:
    DoubleClickWatcher(QObject* viewport, std::function<void()> handler)
        : QObject(viewport), m_handler(std::move(handler)) {
        viewport->installEventFilter(this);
    }

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::MouseButtonDblClick &&
            static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
            m_handler();
        }
        return QObject::eventFilter(watched, event);
    }

  private:
    std::function<void()> m_handler;
};

bool wireEntry(QWidget* control, const CommandEntry& entry) {
    const std::function<void()> handler = entry.handler;
    auto* button = qobject_cast<QAbstractButton*>(control);
    auto* view = qobject_cast<QAbstractItemView*>(control);
    switch (entry.notification) {
        case Notification::Clicked:
            if (button == nullptr) {
                return false;
            }
            QObject::connect(button, &QAbstractButton::clicked, button, [handler] { handler(); });
            return true;
        case Notification::Toggled:
            if (button == nullptr) {
                return false;
            }
            QObject::connect(button, &QAbstractButton::toggled, button, [handler] { handler(); });
            return true;
        case Notification::DoubleClicked:
            if (view == nullptr) {
                return false;
            }
            new DoubleClickWatcher(view->viewport(), handler);
            return true;
        case Notification::RightClicked:
            if (view == nullptr && button == nullptr) {
                return false;
            }
            control->setContextMenuPolicy(Qt::CustomContextMenu);
            QObject::connect(control, &QWidget::customContextMenuRequested, control,
                             [handler] { handler(); });
            return true;
        case Notification::SelectionChanged:
            if (auto* box = qobject_cast<QComboBox*>(control)) {
                QObject::connect(box, &QComboBox::activated, box, [handler] { handler(); });
                return true;
            }
            if (view != nullptr && view->selectionModel() != nullptr) {
                QObject::connect(view->selectionModel(), &QItemSelectionModel::selectionChanged,
                                 view, [handler] { handler(); });
                return true;
            }
            return false;
        case Notification::SliderReleased:
            if (auto* slider = qobject_cast<QAbstractSlider*>(control)) {
                QObject::connect(slider, &QAbstractSlider::sliderReleased, slider,
                                 [handler] { handler(); });
                return true;
            }
            return false;
        case Notification::TextChanged:
            if (auto* edit = qobject_cast<QLineEdit*>(control)) {
                QObject::connect(edit, &QLineEdit::textEdited, edit, [handler] { handler(); });
                return true;
            }
            return false;
    }
    return false;
}

}  // namespace

QString notificationName(Notification notification) {
    switch (notification) {
        case Notification::Clicked:
            return QStringLiteral("Clicked");
        case Notification::DoubleClicked:
            return QStringLiteral("DoubleClicked");
        case Notification::RightClicked:
            return QStringLiteral("RightClicked");
        case Notification::SelectionChanged:
            return QStringLiteral("SelectionChanged");
        case Notification::SliderReleased:
            return QStringLiteral("SliderReleased");
        case Notification::TextChanged:
            return QStringLiteral("TextChanged");
        case Notification::Toggled:
            return QStringLiteral("Toggled");
    }
    return QStringLiteral("Unknown");
}

QStringList CommandTable::wire(const DialogControls& controls) const {
    QStringList problems;
    for (const CommandEntry& entry : m_entries) {
        QWidget* control = controls.find(entry.controlId);
        if (control == nullptr) {
            problems << QStringLiteral("control %1 (%2): no such control")
                            .arg(entry.controlId)
                            .arg(notificationName(entry.notification));
            continue;
        }
        if (!entry.handler) {
            problems << QStringLiteral("control %1 (%2): no handler")
                            .arg(entry.controlId)
                            .arg(notificationName(entry.notification));
            continue;
        }
        if (!wireEntry(control, entry)) {
            problems << QStringLiteral("control %1 (%2): a %3 does not report it")
                            .arg(entry.controlId)
                            .arg(notificationName(entry.notification))
                            .arg(QString::fromLatin1(control->metaObject()->className()));
        }
    }
    return problems;
}

bool CommandTable::dispatch(int controlId, Notification notification) const {
    bool handled = false;
    for (const CommandEntry& entry : m_entries) {
        if (entry.controlId == controlId && entry.notification == notification && entry.handler) {
            entry.handler();
            handled = true;
        }
    }
    return handled;
}

}  // namespace widgets
