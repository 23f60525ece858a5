#include "mixer/dialogs/output_options_dialog.h"
#include "mixer/output/output_options_rules.h"
#include "mixer/project/frame_rates.h"
#include "mixer/project/settings_store.h"
#include "tests/mixer/dialogs/output_options_fixture.h"

#include <gtest/gtest.h>

#include <QAccessible>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

namespace mixer {
namespace {

using namespace output_options;

// Picks a list entry as a user does: focus on the list, then keys until it shows the entry.
void pick(QComboBox& list, int index) {
    list.setFocus();
    QTest::keyClick(&list, Qt::Key_Home);
    for (int step = 0; step < index; ++step) {
        QTest::keyClick(&list, Qt::Key_Down);
    }
    ASSERT_EQ(list.currentIndex(), index);
}

void retype(QLineEdit& field, const QString& text) {
    field.setFocus();
    field.selectAll();
    QTest::keyClick(&field, Qt::Key_Delete);
    QTest::keyClicks(&field, text);
}

TEST_F(OutputOptionsDialogTest, SizesAndRatesTheVideoCompressorCannotTakeAreRefusedAtOk) {
    // Video list entries of this registry: 0 uncompressed, 1 Motion JPEG, 2 the mpeg4 encoder.
    const struct {
        int videoEntry;
        const char* width;
        const char* height;
        int rateEntry;
        const char* typedRate;  // for the custom entry
        const char* refusal;    // empty: accepted
    } cases[] = {
        {0, "99999", "99999", 2, "",
         "takes frames of at most 8192 x 8192 pixels, not 99992 x 99992"},
        {1, "16", "9000", 2, "", "\"Motion JPEG\" takes frames of at most 8192 x 8192 pixels"},
        {2, "8192", "4320", 2, "", "at most 8191 x 8191 pixels, not 8192 x 4320"},
        {2, "640", "480", kCustomFrameRateIndex, "12.345678", "in at most 65535 steps a second"},
        {1, "640", "480", kCustomFrameRateIndex, "5000", "from 0.001 to 1000 frames per second"},
        {2, "8184", "4320", kCustomFrameRateIndex, "59.94", ""},
        {1, "8192", "8192", 7, "", ""},
    };
    for (const auto& example : cases) {
        SCOPED_TRACE(std::string(example.width) + "x" + example.height + " rate " +
                     example.typedRate);
        SettingsStore fresh(QStringLiteral("KorvaneTest"),
                            QStringLiteral("limits-") + QUuid::createUuid().toString(QUuid::Id128));
        OutputOptionsServices services{registry, fresh, memory, picker, prompt};
        OutputOptionsDialog dialog(settings, services);
        dialog.show();
        prompt.clear();
        pick(list(dialog, kVideoCompressorList), example.videoEntry);
        pick(list(dialog, kResolutionList), kCustomResolutionIndex);
        retype(dialog.controls().get<QLineEdit>(kCustomWidthBox), QString::fromUtf8(example.width));
        retype(dialog.controls().get<QLineEdit>(kCustomHeightBox),
               QString::fromUtf8(example.height));
        pick(list(dialog, kFrameRateList), example.rateEntry);
        if (example.rateEntry == kCustomFrameRateIndex) {
            retype(dialog.controls().get<QLineEdit>(kCustomFrameRateBox),
                   QString::fromUtf8(example.typedRate));
        }
        QTest::mouseClick(&dialog.controls().get<QPushButton>(kOkButton), Qt::LeftButton);

        const QString refusal = QString::fromUtf8(example.refusal);
        if (refusal.isEmpty()) {
            EXPECT_TRUE(prompt.texts().isEmpty()) << prompt.texts().join('\n').toStdString();
            ASSERT_TRUE(dialog.accepted());
            EXPECT_EQ(fresh.read(settings::kOutputWidth), QString::fromUtf8(example.width).toInt());
            continue;
        }
        ASSERT_EQ(prompt.texts().size(), 1);
        EXPECT_TRUE(prompt.texts()[0].contains(refusal)) << prompt.texts()[0].toStdString();
        EXPECT_FALSE(dialog.accepted());
        EXPECT_TRUE(dialog.isVisible());
        EXPECT_FALSE(fresh.contains(QStringLiteral("Settings"), QStringLiteral("OutputWidth")));
    }
}

TEST_F(OutputOptionsDialogTest, EveryListAndFieldIsAnnouncedByItsName) {
    auto dialog = open();
    dialog->show();
    const struct {
        int id;
        const char* name;
        const char* label;  // the label tied to it; empty for the custom fields
    } cases[] = {
        {kOutputNameBox, "Output file", "Output file:"},
        {kResolutionList, "Resolution", "Resolution:"},
        {kCustomWidthBox, "Custom width", ""},
        {kCustomHeightBox, "Custom height", ""},
        {kFrameRateList, "Frame rate", "Frame rate:"},
        {kCustomFrameRateBox, "Custom frame rate", ""},
        {kResizeModeList, "Resize mode", "Resize mode:"},
        {kVideoCompressorList, "Video compressor", "Video compressor:"},
        {kAudioCompressorList, "Audio compressor", "Audio compressor:"},
    };
    for (const auto& example : cases) {
        QWidget& control = dialog->controls().get(example.id);
        QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(&control);
        ASSERT_NE(accessible, nullptr) << example.name;
        EXPECT_EQ(accessible->text(QAccessible::Name), QString::fromUtf8(example.name));
        if (*example.label == '\0') {
            continue;
        }
        const QLabel* tied = nullptr;
        for (const QLabel* label : dialog->findChildren<QLabel*>()) {
            if (label->buddy() == &control) {
                tied = label;
            }
        }
        ASSERT_NE(tied, nullptr) << example.name;
        EXPECT_EQ(tied->text(), QString::fromUtf8(example.label));
    }
}

}  // namespace
}  // namespace mixer
