#include "mixer/dialogs/labelled_list_accessible.h"

#include <QAbstractItemView>
#include <QAccessible>
#include <QAccessibleWidget>
#include <QComboBox>

namespace mixer {

namespace {

// Set on every list whose name is to be announced; the factory answers only for those.
constexpr const char* kAnnouncedByNameProperty = "orvindelAnnouncedByName";

// A drop-down list read as a combo box: name from the widget's accessible name, value from the
// shown entry, its pop-up list as the one child, and the press / show-menu actions.
class NamedListAccessible : public QAccessibleWidget {
  public:
    explicit NamedListAccessible(QComboBox* list)
        : QAccessibleWidget(list, QAccessible::ComboBox) {}

    QString text(QAccessible::Text kind) const override {
        if (kind == QAccessible::Name) {
            return list().accessibleName();
        }
        if (kind == QAccessible::Value) {
            return list().currentText();
        }
        return QAccessibleWidget::text(kind);
    }

    int childCount() const override { return 1; }
    QAccessibleInterface* child(int index) const override {
        return index == 0 ? QAccessible::queryAccessibleInterface(list().view()) : nullptr;
    }
    int indexOfChild(const QAccessibleInterface* child) const override {
        return child != nullptr && child->object() == list().view() ? 0 : -1;
    }

    QStringList actionNames() const override { return {showMenuAction(), pressAction()}; }
    void doAction(const QString& actionName) override {
        if (actionName == showMenuAction() || actionName == pressAction()) {
            list().showPopup();
        }
    }
    QStringList keyBindingsForAction(const QString&) const override { return {}; }

  private:
    QComboBox& list() const { return *static_cast<QComboBox*>(widget()); }
};

QAccessibleInterface* namedListFactory(const QString&, QObject* object) {
    auto* list = qobject_cast<QComboBox*>(object);
    if (list == nullptr || !list->property(kAnnouncedByNameProperty).toBool() ||
        list->isEditable()) {
        return nullptr;
    }
    return new NamedListAccessible(list);
}

}  // namespace

void announceListByItsName(QComboBox& list) {
    static const bool installed = [] {
        QAccessible::installFactory(namedListFactory);
        return true;
    }();
    static_cast<void>(installed);
    list.setProperty(kAnnouncedByNameProperty, true);
    // Qt may have made the list's interface already (filling or naming a list does); that one
    // is dropped, so the next query goes through the factory.
    QAccessibleInterface* current = QAccessible::queryAccessibleInterface(&list);
    if (current != nullptr && dynamic_cast<NamedListAccessible*>(current) == nullptr) {
        QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(current));
    }
}

}  // namespace mixer
