#pragma once

#include <QFont>
#include <QPoint>
#include <QRect>
#include <QSize>

#include "widgets/dialog_template.h"

namespace widgets {

// The base units of a dialog font, as the classic dialog manager defines them: the average
// character width is the advance of "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"
// divided by 52 and rounded; the character height is the font's line height (ascent +
// descent). One horizontal DLU is a quarter of the average width, one vertical DLU an eighth
// of the height.
struct DialogBaseUnits {
    int averageCharWidth = 0;  // pixels
    int charHeight = 0;        // pixels
};

// The font a template's font stands for: Windows dialog faces ("MS Sans Serif", "MS Shell
// Dlg", "MS Shell Dlg 2", "Microsoft Sans Serif") become the desktop's general font at the
// template's point size; any other family is used as named.
QFont resolveDialogFont(const DialogFont& font);

DialogBaseUnits measureDialogBaseUnits(const QFont& font);

// Converts dialog units to pixels, rounding to the nearest pixel (halves away from zero).
class DialogUnitConverter {
  public:
    explicit DialogUnitConverter(DialogBaseUnits units) : m_units(units) {}
    explicit DialogUnitConverter(const QFont& font)
        : DialogUnitConverter(measureDialogBaseUnits(font)) {}

    int toPixelsX(int dialogUnits) const;
    int toPixelsY(int dialogUnits) const;
    QRect toPixels(const QRect& dialogUnits) const;
    QSize toPixels(const QSize& dialogUnits) const;
    DialogBaseUnits baseUnits() const { return m_units; }

  private:
    DialogBaseUnits m_units;
};

}  // namespace widgets
