#include "mixer/dialogs/transition_dialog_parts.h"

namespace mixer::transition_dialogs {

widgets::ControlTemplate effectListControl(int id, int x, int y, int width, int height) {
    widgets::ControlTemplate control{id, widgets::ControlKind::Custom, {}, x, y, width, height};
    control.create = [](const widgets::ControlTemplate&, QWidget* parent) {
        return new QListWidget(parent);
    };
    return control;
}

widgets::ControlTemplate previewControl(int id, int x, int y, int width, int height) {
    widgets::ControlTemplate control{id, widgets::ControlKind::Custom, {}, x, y, width, height};
    control.create = [](const widgets::ControlTemplate&, QWidget* parent) {
        return new TransitionPreviewView(parent);
    };
    return control;
}

void connectEffectListToPreview(QListWidget& list, TransitionPreviewView& preview,
                                int effectNumber) {
    fillEffectList(list, effectNumber);
    preview.setEffect(list.currentRow() >= 0 ? list.currentRow() : effectNumber);
    QObject::connect(&list, &QListWidget::currentRowChanged, &preview, [&preview](int row) {
        if (row >= 0) {
            preview.setEffect(row);
        }
    });
}

void focusRefusedBox(QLineEdit& box) {
    box.setFocus(Qt::OtherFocusReason);
    box.selectAll();
}

}  // namespace mixer::transition_dialogs
