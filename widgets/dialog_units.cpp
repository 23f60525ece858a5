#include "widgets/dialog_units.h"

#include <QFontDatabase>
#include <QFontMetrics>
#include <QStringList>

namespace widgets {
namespace {

// Integer a * b / c rounded to nearest, halves away from zero (the classic MulDiv).
int multiplyDivideRounded(int a, int b, int c) {
    const long long product = static_cast<long long>(a) * b;
    const long long half = c / 2;
    return static_cast<int>(product >= 0 ? (product + half) / c : (product - half) / c);
}

}  // namespace

QFont resolveDialogFont(const DialogFont& font) {
    static const QStringList windowsDialogFaces = {
        QStringLiteral("MS Sans Serif"), QStringLiteral("MS Shell Dlg"),
        QStringLiteral("MS Shell Dlg 2"), QStringLiteral("Microsoft Sans Serif")};
    QFont resolved;
    if (font.family.isEmpty() || windowsDialogFaces.contains(font.family, Qt::CaseInsensitive)) {
        resolved = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
    } else {
        resolved = QFont(font.family);
    }
    if (font.pointSize > 0) {
        resolved.setPointSize(font.pointSize);
    }
    return resolved;
}

DialogBaseUnits measureDialogBaseUnits(const QFont& font) {
    const QFontMetrics metrics(font);
    const int alphabetWidth = metrics.horizontalAdvance(
        QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    // Rounded as the dialog manager does: (width / 26 + 1) / 2.
    return DialogBaseUnits{(alphabetWidth / 26 + 1) / 2, metrics.height()};
}

int DialogUnitConverter::toPixelsX(int dialogUnits) const {
    return multiplyDivideRounded(dialogUnits, m_units.averageCharWidth, 4);
}

int DialogUnitConverter::toPixelsY(int dialogUnits) const {
    return multiplyDivideRounded(dialogUnits, m_units.charHeight, 8);
}

QRect DialogUnitConverter::toPixels(const QRect& dialogUnits) const {
    // Position and size are converted each on its own, as the dialog manager creates the
    // controls of a template.
    return QRect(toPixelsX(dialogUnits.x()), toPixelsY(dialogUnits.y()),
                 toPixelsX(dialogUnits.width()), toPixelsY(dialogUnits.height()));
}

QSize DialogUnitConverter::toPixels(const QSize& dialogUnits) const {
    return QSize(toPixelsX(dialogUnits.width()), toPixelsY(dialogUnits.height()));
}

}  // namespace widgets
