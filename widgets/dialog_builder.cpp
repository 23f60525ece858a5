#include "widgets/dialog_builder.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFontMetrics>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>
#include <QStyle>
#include <QStyleOptionFrame>
#include <QTreeWidget>

#include "widgets/hyperlink_label.h"
#include "widgets/image_button.h"
#include "widgets/multi_line_label.h"

#include <algorithm>

namespace widgets {
namespace {

Qt::Alignment textAlignment(ControlStyle style) {
    Qt::Alignment alignment = Qt::AlignLeft;
    if (style.testFlag(ControlStyleFlag::AlignCentre)) {
        alignment = Qt::AlignHCenter;
    } else if (style.testFlag(ControlStyleFlag::AlignRight)) {
        alignment = Qt::AlignRight;
    }
    return alignment |
           (style.testFlag(ControlStyleFlag::CentreVertically) ? Qt::AlignVCenter : Qt::AlignTop);
}

LineAlignment lineAlignment(ControlStyle style) {
    if (style.testFlag(ControlStyleFlag::AlignCentre)) {
        return LineAlignment::Centre;
    }
    if (style.testFlag(ControlStyleFlag::AlignRight)) {
        return LineAlignment::Right;
    }
    return LineAlignment::Left;
}

QWidget* makeLabel(const ControlTemplate& control, QWidget* parent) {
    auto* label = new QLabel(control.caption, parent);
    label->setAlignment(textAlignment(control.style));
    label->setWordWrap(true);
    return label;
}

QWidget* makeListView(const ControlTemplate& control, QWidget* parent) {
    auto* list = new QTreeWidget(parent);
    list->setRootIsDecorated(false);
    list->setItemsExpandable(false);
    list->setUniformRowHeights(true);
    list->setAllColumnsShowFocus(true);
    list->setSelectionBehavior(QAbstractItemView::SelectRows);
    list->setSelectionMode(control.style.testFlag(ControlStyleFlag::SingleSelection)
                               ? QAbstractItemView::SingleSelection
                               : QAbstractItemView::ExtendedSelection);
    list->header()->setStretchLastSection(false);
    return list;
}

QWidget* makeControl(const ControlTemplate& control, QWidget* parent,
                     const DialogServices& services) {
    switch (control.kind) {
        case ControlKind::PushButton: {
            auto* button = new QPushButton(control.caption, parent);
            button->setDefault(control.style.testFlag(ControlStyleFlag::DefaultButton));
            return button;
        }
        case ControlKind::ImageButton: {
            auto* button = new ImageButton(control.caption, parent);
            button->setDefault(control.style.testFlag(ControlStyleFlag::DefaultButton));
            return button;
        }
        case ControlKind::Label:
            return makeLabel(control, parent);
        case ControlKind::SunkenLabel: {
            auto* label = new QLabel(control.caption, parent);
            label->setAlignment(textAlignment(control.style));
            label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
            return label;
        }
        case ControlKind::MultiLineLabel:
            return new MultiLineLabel(control.caption, lineAlignment(control.style), parent);
        case ControlKind::HyperlinkLabel: {
            if (services.launcher == nullptr || services.prompt == nullptr) {
                qFatal("Hyperlink label %d needs the launcher and prompt ports", control.id);
            }
            auto* label =
                new HyperlinkLabel(control.caption, *services.launcher, *services.prompt, parent);
            label->setAlignment(textAlignment(control.style));
            return label;
        }
        case ControlKind::IconPicture: {
            auto* picture = new QLabel(parent);
            picture->setAlignment(Qt::AlignLeft | Qt::AlignTop);
            return picture;
        }
        case ControlKind::GroupFrame: {
            auto* frame = new QGroupBox(control.caption, parent);
            // A frame only draws; clicks reach the controls inside it.
            frame->setAttribute(Qt::WA_TransparentForMouseEvents);
            frame->setFocusPolicy(Qt::NoFocus);
            return frame;
        }
        case ControlKind::ListView:
            return makeListView(control, parent);
        case ControlKind::DropDownList: {
            auto* box = new QComboBox(parent);
            box->setEditable(false);
            return box;
        }
        case ControlKind::Slider: {
            auto* slider = new QSlider(Qt::Horizontal, parent);
            slider->setTickPosition(QSlider::NoTicks);
            return slider;
        }
        case ControlKind::LineEdit:
            return new QLineEdit(control.caption, parent);
        case ControlKind::CheckBox:
            return new QCheckBox(control.caption, parent);
        case ControlKind::Custom:
            if (!control.create) {
                qFatal("Custom control %d has no factory", control.id);
            }
            return control.create(control, parent);
    }
    qFatal("Control %d has an unknown kind", control.id);
}

bool isLabel(ControlKind kind) {
    return kind == ControlKind::Label || kind == ControlKind::SunkenLabel ||
           kind == ControlKind::MultiLineLabel;
}

// What assistive technology reads for a control without a caption of its own: the caption of
// the label just before it in the template ("Video List:" names the video list), without its
// mnemonic '&' and its closing ':'.
QString nameFromLabel(const QString& labelCaption) {
    QString name = labelCaption;
    name.remove(QLatin1Char('&'));
    name = name.trimmed();
    if (name.endsWith(QLatin1Char(':'))) {
        name.chop(1);
    }
    return name.trimmed();
}

// The height a one-line text control needs so that no glyph is cut: the font's line spacing
// (ascent, descent and leading: descenders and underscores included) plus what the control
// draws around its text. 0 for kinds that size themselves or hold no text line.
int heightForOneLine(ControlKind kind, QWidget& widget) {
    const int lineSpacing = QFontMetrics(widget.font()).lineSpacing();
    switch (kind) {
        case ControlKind::Label:
        case ControlKind::SunkenLabel:
        case ControlKind::HyperlinkLabel: {
            const auto& label = static_cast<QLabel&>(widget);
            return lineSpacing + 2 * (label.frameWidth() + label.margin());
        }
        case ControlKind::MultiLineLabel:
            return lineSpacing + 1;  // its top row stays unpainted
        case ControlKind::LineEdit: {
            QStyleOptionFrame option;
            option.initFrom(&widget);
            const int frame =
                widget.style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, &widget);
            return lineSpacing + 2 * frame + 2;  // QLineEdit's own vertical text margin
        }
        default:
            return 0;
    }
}

}  // namespace

DialogUnitConverter converterFor(const DialogTemplate& dialogTemplate) {
    return DialogUnitConverter(resolveDialogFont(dialogTemplate.font));
}

DialogControls buildDialog(const DialogTemplate& dialogTemplate, QWidget& window,
                           const DialogServices& services) {
    const QFont font = resolveDialogFont(dialogTemplate.font);
    const DialogUnitConverter converter(font);
    window.setWindowTitle(dialogTemplate.title);
    window.setFont(font);
    window.setFixedSize(converter.toPixels(QSize(dialogTemplate.width, dialogTemplate.height)));

    DialogControls controls;
    std::vector<QWidget*> frames;
    QString precedingLabel;
    for (const ControlTemplate& control : dialogTemplate.controls) {
        QWidget* widget = makeControl(control, &window, services);
        if (isLabel(control.kind)) {
            // A hidden label (a warning shown now and then) names nothing.
            if (!control.style.testFlag(ControlStyleFlag::Hidden)) {
                precedingLabel = control.caption;
            }
        } else if (control.caption.isEmpty() && control.kind != ControlKind::ImageButton &&
                   control.kind != ControlKind::GroupFrame && widget->toolTip().isEmpty() &&
                   !precedingLabel.isEmpty()) {
            widget->setAccessibleName(nameFromLabel(precedingLabel));
            precedingLabel.clear();
        }
        QRect geometry =
            converter.toPixels(QRect(control.x, control.y, control.width, control.height));
        if (control.kind == ControlKind::DropDownList) {
            // The template's height includes the dropped-down list; the closed box keeps its
            // own height.
            geometry.setHeight(widget->sizeHint().height());
        }
        // Dialog units follow the font's height without its leading, which at some sizes
        // leaves a one-line text control too short for its descenders ("A_h264" would read
        // "A h264"); such a control grows downwards to its font's line spacing.
        geometry.setHeight(std::max(geometry.height(), heightForOneLine(control.kind, *widget)));
        widget->setGeometry(geometry);
        if (control.style.testFlag(ControlStyleFlag::Hidden)) {
            widget->setHidden(true);
        }
        if (control.style.testFlag(ControlStyleFlag::Disabled)) {
            widget->setEnabled(false);
        }
        if (control.style.testFlag(ControlStyleFlag::NoTabStop)) {
            widget->setFocusPolicy(Qt::NoFocus);
        }
        if (control.kind == ControlKind::GroupFrame) {
            frames.push_back(widget);
        }
        if (control.id != kNoControlId) {
            widget->setObjectName(DialogControls::objectNameFor(control.id));
            controls.add(control.id, widget);
        }
    }
    // Frames lie under the controls they surround, whatever their place in the template.
    for (QWidget* frame : frames) {
        frame->lower();
    }
    return controls;
}

}  // namespace widgets
