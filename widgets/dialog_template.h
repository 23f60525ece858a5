#pragma once

#include <QFlags>
#include <QString>

#include <functional>
#include <vector>

class QWidget;

namespace widgets {

// A window described as data, in dialog units (DLU): the builder turns it into widgets whose
// pixel geometry follows from the dialog font (dialog_units.h).

inline constexpr int kNoControlId = -1;  // a control nobody looks up (frames, fixed texts)

enum class ControlKind {
    PushButton,      // QPushButton
    ImageButton,     // widgets::ImageButton
    Label,           // QLabel; alignment from the style flags
    SunkenLabel,     // QLabel with a sunken panel frame
    MultiLineLabel,  // widgets::MultiLineLabel (transparent); alignment from the style flags
    HyperlinkLabel,  // widgets::HyperlinkLabel; needs the launcher and prompt ports
    IconPicture,     // QLabel showing a picture the window sets
    GroupFrame,      // QGroupBox; caption as its title
    ListView,        // QTreeWidget as a report list: no tree decoration, whole-row selection,
                     // several rows selectable
    DropDownList,    // QComboBox, not editable; the template height is the dropped-down list's,
                     // the box keeps its own height
    Slider,          // QSlider, horizontal
    LineEdit,        // QLineEdit
    CheckBox,        // QCheckBox
    Custom,          // made by ControlTemplate::create
};

enum class ControlStyleFlag : unsigned {
    None = 0,
    DefaultButton = 1u << 0,  // the window's default push button (Enter presses it)
    AlignCentre = 1u << 1,    // text centred horizontally
    AlignRight = 1u << 2,     // text right-aligned
    CentreVertically = 1u << 3,
    Hidden = 1u << 4,
    Disabled = 1u << 5,
    NoTicks = 1u << 6,          // slider without tick marks
    BothWaysThumb = 1u << 7,    // slider thumb pointing both ways (no tick marks either side)
    AutoScroll = 1u << 8,       // edit scrolls horizontally (always true for QLineEdit)
    SingleSelection = 1u << 9,  // list view: one row at a time
    NoTabStop = 1u << 10,
};
Q_DECLARE_FLAGS(ControlStyle, ControlStyleFlag)
Q_DECLARE_OPERATORS_FOR_FLAGS(ControlStyle)

struct ControlTemplate {
    int id = kNoControlId;
    ControlKind kind = ControlKind::Label;
    QString caption;
    // Rectangle in dialog units, relative to the client area's top-left corner.
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    ControlStyle style = ControlStyleFlag::None;
    // Only for ControlKind::Custom: makes the widget as a child of `parent`.
    std::function<QWidget*(const ControlTemplate&, QWidget* parent)> create = {};
};

struct DialogFont {
    QString family;  // e.g. "MS Sans Serif": a Windows dialog face stands for the desktop's
                     // general font (dialog_units.h)
    int pointSize = 8;
};

struct DialogTemplate {
    QString title;
    int width = 0;  // client area in dialog units
    int height = 0;
    DialogFont font;
    std::vector<ControlTemplate> controls;  // in tab order
};

}  // namespace widgets
