#include "widgets/label_accessibility.h"

#include "widgets/hyperlink_label.h"
#include "widgets/multi_line_label.h"

#include <QAccessible>
#include <QAccessibleWidget>

namespace widgets {

namespace {

class HyperlinkAccessible : public QAccessibleWidget {
  public:
    explicit HyperlinkAccessible(HyperlinkLabel* link)
        : QAccessibleWidget(link, QAccessible::Link) {}

    QString text(QAccessible::Text kind) const override {
        const auto* link = static_cast<const HyperlinkLabel*>(widget());
        switch (kind) {
            case QAccessible::Name:
                return link->accessibleName().isEmpty() ? link->text() : link->accessibleName();
            case QAccessible::Value:
                return link->address();
            default:
                return QAccessibleWidget::text(kind);
        }
    }

    QStringList actionNames() const override {
        return QStringList{pressAction()} + QAccessibleWidget::actionNames();
    }

    void doAction(const QString& actionName) override {
        if (actionName == pressAction()) {
            static_cast<HyperlinkLabel*>(widget())->openAddress();
            return;
        }
        QAccessibleWidget::doAction(actionName);
    }
};

class MultiLineLabelAccessible : public QAccessibleWidget {
  public:
    explicit MultiLineLabelAccessible(MultiLineLabel* label)
        : QAccessibleWidget(label, QAccessible::StaticText) {}

    QAccessible::Role role() const override {
        return static_cast<const MultiLineLabel*>(widget())->labelKind() == LabelKind::StatusLine
                   ? QAccessible::StatusBar
                   : QAccessible::StaticText;
    }

    QString text(QAccessible::Text kind) const override {
        const auto* label = static_cast<const MultiLineLabel*>(widget());
        if (kind == QAccessible::Name && label->accessibleName().isEmpty()) {
            return label->text().replace(QLatin1Char('\n'), QLatin1Char(' '));
        }
        return QAccessibleWidget::text(kind);
    }
};

QAccessibleInterface* labelInterface(const QString& className, QObject* object) {
    if (className == QLatin1String(HyperlinkLabel::staticMetaObject.className())) {
        return new HyperlinkAccessible(static_cast<HyperlinkLabel*>(object));
    }
    if (className == QLatin1String(MultiLineLabel::staticMetaObject.className())) {
        return new MultiLineLabelAccessible(static_cast<MultiLineLabel*>(object));
    }
    return nullptr;
}

}  // namespace

void installLabelAccessibility() {
    static const bool installed = [] {
        QAccessible::installFactory(&labelInterface);
        return true;
    }();
    static_cast<void>(installed);
}

}  // namespace widgets
