#pragma once

#include "widgets/dialog_template.h"

#include <vector>

namespace mixer::main_window {

// The main window as data: 351 x 199 dialog units, title "Orvindel", every control at its
// place in dialog units, in tab order.
widgets::DialogTemplate mainWindowTemplate();

// What every command button gets at start-up besides its caption: its tooltip and, where it
// has one, its icon (an image of widgets/art_catalog.h; nullptr: no icon). All of them show
// the hand cursor while hovered.
struct ButtonDecoration {
    int controlId;
    const char* tooltip;
    const char* iconPath;
};
const std::vector<ButtonDecoration>& buttonDecorations();

}  // namespace mixer::main_window
