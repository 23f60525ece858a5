#include "widgets/dialog_units.h"

#include <gtest/gtest.h>
#include <QFontDatabase>
#include <QFontMetrics>

#include <cmath>

namespace {

using widgets::DialogBaseUnits;
using widgets::DialogUnitConverter;

TEST(DialogUnits, ConvertsWithTheBaseUnitsRoundingToNearest) {
    const DialogUnitConverter converter(DialogBaseUnits{6, 13});
    struct Case {
        int dialogUnits;
        int pixelsX;  // dialogUnits * 6 / 4
        int pixelsY;  // dialogUnits * 13 / 8
    };
    for (const Case& conversion :
         {Case{0, 0, 0}, Case{1, 2, 2}, Case{2, 3, 3}, Case{4, 6, 7}, Case{46, 69, 75},
          Case{199, 299, 323}, Case{351, 527, 570}, Case{-3, -5, -5}}) {
        EXPECT_EQ(converter.toPixelsX(conversion.dialogUnits), conversion.pixelsX)
            << conversion.dialogUnits;
        EXPECT_EQ(converter.toPixelsY(conversion.dialogUnits), conversion.pixelsY)
            << conversion.dialogUnits;
    }
    EXPECT_EQ(converter.toPixels(QRect(9, 5, 46, 32)), QRect(14, 8, 69, 52));
    EXPECT_EQ(converter.toPixels(QSize(351, 199)), QSize(527, 323));
}

TEST(DialogUnits, BaseUnitsComeFromTheAlphabetAndTheLineHeight) {
    for (const int pointSize : {8, 10, 14}) {
        QFont font = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
        font.setPointSize(pointSize);
        const QFontMetrics metrics(font);
        const int alphabet = metrics.horizontalAdvance(
            QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
        const DialogBaseUnits units = widgets::measureDialogBaseUnits(font);
        EXPECT_EQ(units.averageCharWidth, static_cast<int>(std::floor(alphabet / 52.0 + 0.5)))
            << pointSize;
        EXPECT_EQ(units.charHeight, metrics.height()) << pointSize;
        EXPECT_GT(units.averageCharWidth, 0);
    }
}

TEST(DialogUnits, WindowsDialogFacesStandForTheDesktopFont) {
    const QString general = QFontDatabase::systemFont(QFontDatabase::GeneralFont).family();
    for (const char* face : {"MS Sans Serif", "MS Shell Dlg", "ms shell dlg 2", ""}) {
        const QFont font = widgets::resolveDialogFont({QString::fromLatin1(face), 8});
        EXPECT_EQ(font.family(), general) << face;
        EXPECT_EQ(font.pointSize(), 8) << face;
    }
    EXPECT_EQ(widgets::resolveDialogFont({QStringLiteral("DejaVu Serif"), 11}).pointSize(), 11);
}

}  // namespace
