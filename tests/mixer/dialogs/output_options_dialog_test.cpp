#include "mixer/dialogs/output_options_dialog.h"
#include "mixer/output/output_options_rules.h"
#include "mixer/project/settings_store.h"
#include "tests/mixer/dialogs/output_options_fixture.h"
#include "tests/support/modal_script.h"
#include "tests/support/temporary_folder.h"
#include "widgets/ports/qt_file_picker.h"
#include "widgets/testing/scripted_file_picker.h"
#include "widgets/testing/scripted_prompt.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QUuid>

#include <memory>
#include <vector>

namespace mixer {
namespace {

using namespace output_options;

TEST_F(OutputOptionsDialogTest, OpensOnTheTemplateWithEveryControl) {
    auto dialog = open();
    EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Select output options"));
    for (int id : {kOutputNameBox, kBrowseButton, kResolutionList, kCustomWidthBox,
                   kCustomHeightBox, kFrameRateList, kCustomFrameRateBox, kResizeModeList,
                   kVideoCompressorList, kHiddenScratchList, kCompressorSettingsButton,
                   kAudioCompressorList, kOkButton, kDefaultCompressorsButton, kCancelButton}) {
        EXPECT_TRUE(dialog->controls().contains(id)) << id;
    }
    EXPECT_TRUE(dialog->controls().get(kHiddenScratchList).isHidden());
    EXPECT_EQ(dialog->controls().get<QPushButton>(kDefaultCompressorsButton).text(),
              QStringLiteral("Defaul"));
    EXPECT_EQ(dialog->controls().get<QLineEdit>(kOutputNameBox).text(),
              QStringLiteral("/home/ana/videos/holiday.avi"));
    EXPECT_EQ(list(*dialog, kResizeModeList).currentText(),
              QStringLiteral("Preserve aspect ratio"));
    // The lists: uncompressed first, then the registry's compressors in order.
    EXPECT_EQ(list(*dialog, kVideoCompressorList).count(), 4);
    EXPECT_EQ(list(*dialog, kVideoCompressorList).itemText(0),
              QStringLiteral("Full frames (uncompressed)"));
    EXPECT_EQ(list(*dialog, kVideoCompressorList).itemText(2),
              QStringLiteral("DivX-compatible MPEG-4 Part 2"));
    EXPECT_EQ(list(*dialog, kAudioCompressorList).itemText(0),
              QStringLiteral("Uncompressed Audio"));
    // Nothing stored yet: the defaults are selected.
    EXPECT_EQ(list(*dialog, kVideoCompressorList).currentIndex(), 2);
    EXPECT_EQ(list(*dialog, kAudioCompressorList).currentIndex(), 2);
}

TEST_F(OutputOptionsDialogTest, SizeSelectsItsPresetOrCustomWithVisibleFields) {
    const struct {
        int width;
        int height;
        QString expectedEntry;
        bool fieldsShown;
    } cases[] = {
        {1024, 768, QStringLiteral("Custom Size"), true},
        {352, 240, QStringLiteral("352 * 240"), false},
        {720, 576, QStringLiteral("720 * 576"), false},
    };
    for (const auto& example : cases) {
        settings.OutputWidth = example.width;
        settings.OutputHigh = example.height;
        auto dialog = open();
        EXPECT_EQ(list(*dialog, kResolutionList).currentText(), example.expectedEntry);
        const auto& width = dialog->controls().get<QLineEdit>(kCustomWidthBox);
        const auto& height = dialog->controls().get<QLineEdit>(kCustomHeightBox);
        EXPECT_EQ(!width.isHidden(), example.fieldsShown) << example.width;
        EXPECT_EQ(!height.isHidden(), example.fieldsShown) << example.width;
        EXPECT_EQ(width.text(), QString::number(example.width));
        EXPECT_EQ(height.text(), QString::number(example.height));
        EXPECT_EQ(width.alignment() & Qt::AlignHCenter, Qt::AlignHCenter);
    }
}

TEST_F(OutputOptionsDialogTest, ChoosingResolutionsFillsAndShowsTheFields) {
    settings.OutputWidth = 1024;
    settings.OutputHigh = 768;
    auto dialog = open();
    auto& width = dialog->controls().get<QLineEdit>(kCustomWidthBox);
    choose(list(*dialog, kResolutionList), 1);  // "640*480"
    EXPECT_TRUE(width.isHidden());
    EXPECT_EQ(width.text(), QStringLiteral("640"));
    EXPECT_EQ(dialog->controls().get<QLineEdit>(kCustomHeightBox).text(), QStringLiteral("480"));
    choose(list(*dialog, kResolutionList), kCustomResolutionIndex);
    EXPECT_FALSE(width.isHidden());
    EXPECT_EQ(width.text(), QStringLiteral("1024"));  // the values it was opened with

    choose(list(*dialog, kResolutionList), 3);  // "720 * 480", reaching OK through hidden fields
    press(*dialog, kOkButton);
    ASSERT_TRUE(dialog->accepted());
    EXPECT_EQ(dialog->accepted()->settings.OutputWidth, 720);
    EXPECT_EQ(dialog->accepted()->settings.OutputHigh, 480);
}

TEST_F(OutputOptionsDialogTest, CustomSizesAreNormalisedAtOk) {
    const struct {
        const char* typed;
        int expected;
    } cases[] = {{"1001", 1000}, {"1000", 1000}, {"7", 16}, {"0", 16}, {"-20", 16}, {"abc", 16}};
    settings.OutputWidth = 1024;
    settings.OutputHigh = 768;
    for (const auto& example : cases) {
        auto dialog = open();
        type(*dialog, kCustomWidthBox, QString::fromUtf8(example.typed));
        type(*dialog, kCustomHeightBox, QString::fromUtf8(example.typed));
        press(*dialog, kOkButton);
        ASSERT_TRUE(dialog->accepted()) << example.typed;
        EXPECT_EQ(dialog->result(), QDialog::Accepted);
        EXPECT_EQ(dialog->accepted()->settings.OutputWidth, example.expected) << example.typed;
        EXPECT_EQ(dialog->accepted()->settings.OutputHigh, example.expected) << example.typed;
        EXPECT_EQ(store.read(settings::kOutputWidth), example.expected);
        EXPECT_EQ(store.read(settings::kOutputHigh), example.expected);
    }
}

TEST_F(OutputOptionsDialogTest, CustomFrameRateFieldFollowsTheList) {
    settings.OutputFrameRateIndex = 5;
    settings.OutputFrameRate = 12.5;
    auto dialog = open();
    auto& rate = dialog->controls().get<QLineEdit>(kCustomFrameRateBox);
    EXPECT_EQ(list(*dialog, kFrameRateList).currentText(), QStringLiteral("Custom frame rate"));
    EXPECT_FALSE(rate.isHidden());
    EXPECT_EQ(rate.text(), QStringLiteral("12.500"));

    choose(list(*dialog, kFrameRateList), 3);
    EXPECT_TRUE(rate.isHidden());
    EXPECT_EQ(rate.text(), QStringLiteral("29.970000"));
    choose(list(*dialog, kFrameRateList), 5);
    EXPECT_FALSE(rate.isHidden());
    EXPECT_EQ(rate.text(), QStringLiteral("12.500"));

    settings.OutputFrameRateIndex = 2;
    auto preset = open();
    EXPECT_TRUE(preset->controls().get<QLineEdit>(kCustomFrameRateBox).isHidden());
}

TEST_F(OutputOptionsDialogTest, TooSmallFrameRatesKeepTheDialogOpenAndWriteNothing) {
    const struct {
        const char* typed;
        bool accepted;
    } cases[] = {{"0.001", true}, {"0.0009", false}, {"abc", false}};
    for (const auto& example : cases) {
        SettingsStore fresh(QStringLiteral("KorvaneTest"),
                            QStringLiteral("rate-") + QUuid::createUuid().toString(QUuid::Id128));
        OutputOptionsServices services{registry, fresh, memory, picker, prompt};
        OutputOptionsDialog dialog(settings, services);
        prompt.clear();
        choose(dialog.controls().get<QComboBox>(kFrameRateList), 5);
        dialog.controls()
            .get<QLineEdit>(kCustomFrameRateBox)
            .setText(QString::fromUtf8(example.typed));
        dialog.controls().get<QPushButton>(kOkButton).click();
        EXPECT_EQ(dialog.accepted().has_value(), example.accepted) << example.typed;
        if (example.accepted) {
            EXPECT_TRUE(prompt.requests().isEmpty());
            EXPECT_DOUBLE_EQ(dialog.accepted()->settings.OutputFrameRate, 0.001);
            EXPECT_EQ(fresh.read(settings::kOutputFrameRate), QStringLiteral("0.001000"));
        } else {
            EXPECT_EQ(prompt.texts(), QStringList{QStringLiteral("The frame rate is too small!")});
            EXPECT_TRUE(prompt.requests()[0].caption.isEmpty());
            EXPECT_NE(dialog.result(), QDialog::Accepted);
            EXPECT_FALSE(
                fresh.contains(QStringLiteral("Settings"), QStringLiteral("OutputFrameRateIndex")));
        }
    }
}

TEST_F(OutputOptionsDialogTest, BrowseGivesTheNameTheExtensionOfTheChosenFilter) {
    const struct {
        const char* chosen;
        int filter;  // 0: the one the dialog selected (AVI, the current output's)
        const char* expected;
    } cases[] = {
        {"/data/clips/out.mpg", 0, "/data/clips/out.avi"},
        {"/data/clips/out", 1, "/data/clips/out.avi"},
        {"/data/my.clips/out", 2, "/data/my.clips/out.mp4"},
        {"/data/clips/out.avi", 3, "/data/clips/out.mkv"},
        {"/data/clips/out.mkv", 4, "/data/clips/out.webm"},
    };
    for (const auto& example : cases) {
        auto dialog = open();
        picker.queueSaveAnswer(QString::fromUtf8(example.chosen), example.filter);
        press(*dialog, kBrowseButton);
        EXPECT_EQ(dialog->controls().get<QLineEdit>(kOutputNameBox).text(),
                  QString::fromUtf8(example.expected));
    }
    ASSERT_FALSE(picker.saveRequests().isEmpty());
    const base::SaveFileRequest& request = picker.saveRequests().last();
    EXPECT_EQ(request.title, QStringLiteral("Select Output File Name"));
    ASSERT_EQ(request.filters.size(), 4);
    EXPECT_EQ(request.filters[0].shownName, QStringLiteral("AVI files (*.avi)"));
    EXPECT_EQ(request.filters[0].patterns, QStringLiteral("*.avi"));
    EXPECT_EQ(request.filters[1].shownName, QStringLiteral("MP4 files (*.mp4)"));
    EXPECT_EQ(request.filters[1].patterns, QStringLiteral("*.mp4"));
    EXPECT_EQ(request.filters[2].shownName, QStringLiteral("Matroska files (*.mkv)"));
    EXPECT_EQ(request.filters[2].patterns, QStringLiteral("*.mkv"));
    EXPECT_EQ(request.filters[3].shownName, QStringLiteral("WebM files (*.webm)"));
    EXPECT_EQ(request.filters[3].patterns, QStringLiteral("*.webm"));
    EXPECT_EQ(request.selectedFilter, 1);
    EXPECT_EQ(request.initialName, QStringLiteral("holiday.avi"));
    EXPECT_EQ(request.initialFolder, QStringLiteral("/home/ana/videos"));

    // Cancelling the save dialog changes nothing; the name itself changes only at OK.
    auto dialog = open();
    press(*dialog, kBrowseButton);
    EXPECT_EQ(dialog->controls().get<QLineEdit>(kOutputNameBox).text(),
              QStringLiteral("/home/ana/videos/holiday.avi"));
}

TEST_F(OutputOptionsDialogTest, WildcardNamesAreRefusedAtBrowseAndAtOk) {
    test_support::TemporaryFolder folder;
    const QString current = QString::fromStdString(folder.file("holiday.avi"));
    {
        QFile existing(current);
        ASSERT_TRUE(existing.open(QIODevice::WriteOnly));
    }
    settings.OutputName = current.toStdString();
    widgets::QtFilePicker realPicker;
    OutputOptionsServices services{registry, store, memory, realPicker, prompt};
    OutputOptionsDialog dialog(settings, services);
    dialog.show();

    QString offered;
    const int steps = test_support::runWithModalScript(
        [&] {
            QTest::mouseClick(&dialog.controls().get<QPushButton>(kBrowseButton), Qt::LeftButton);
        },
        test_support::patternRefusedThenNamed(QStringLiteral("holiday.avi"),
                                              QStringLiteral("*.avi"), QStringLiteral("mine"),
                                              offered));
    EXPECT_EQ(steps, 3);
    EXPECT_EQ(offered, QStringLiteral("holiday.avi"));  // never "*.*"
    auto& nameBox = dialog.controls().get<QLineEdit>(kOutputNameBox);
    EXPECT_EQ(nameBox.text(), QString::fromStdString(folder.file("mine.avi")));

    // A wildcard typed into the field itself is refused at OK: nothing written, still open.
    nameBox.clear();
    QTest::keyClicks(&nameBox, QString::fromStdString(folder.file("*.avi")));
    QTest::mouseClick(&dialog.controls().get<QPushButton>(kOkButton), Qt::LeftButton);
    ASSERT_EQ(prompt.texts().size(), 1);
    EXPECT_TRUE(prompt.texts().front().startsWith(QStringLiteral("\"*.avi\" is a pattern")));
    EXPECT_FALSE(dialog.accepted().has_value());
    EXPECT_FALSE(storeHoldsAnyOptionKey());
}

TEST_F(OutputOptionsDialogTest, RawFrameRateSelectionIsStored) {
    auto dialog = open();
    list(*dialog, kFrameRateList).setCurrentIndex(-1);
    press(*dialog, kOkButton);
    ASSERT_TRUE(dialog->accepted());
    EXPECT_EQ(store.read(settings::kOutputFrameRateIndex), -1);
    EXPECT_EQ(dialog->accepted()->settings.OutputFrameRateIndex, 0);
    EXPECT_DOUBLE_EQ(dialog->accepted()->settings.OutputFrameRate, 23.976);

    auto second = open();
    choose(list(*second, kFrameRateList), 4);
    press(*second, kOkButton);
    EXPECT_EQ(store.read(settings::kOutputFrameRateIndex), 4);
    EXPECT_EQ(store.read(settings::kOutputFrameRate), QStringLiteral("30.000000"));
}

TEST_F(OutputOptionsDialogTest, CancelTouchesNothing) {
    editorAnswer = CompressorSettings{9, 0, 0, {}};
    auto dialog = open();
    type(*dialog, kOutputNameBox, QStringLiteral("/tmp/other.avi"));
    choose(list(*dialog, kResolutionList), 0);
    choose(list(*dialog, kFrameRateList), 2);
    list(*dialog, kVideoCompressorList).setCurrentIndex(1);
    press(*dialog, kCompressorSettingsButton);
    press(*dialog, kCancelButton);
    EXPECT_EQ(dialog->result(), QDialog::Rejected);
    EXPECT_FALSE(dialog->accepted());
    EXPECT_FALSE(storeHoldsAnyOptionKey());
    // What "Settings" changed stays, as the user set it.
    EXPECT_TRUE(memory.holds("mjpeg"));
}

TEST_F(OutputOptionsDialogTest, CompressorChoicesAreStoredAsPositions) {
    auto dialog = open();
    list(*dialog, kVideoCompressorList).setCurrentIndex(3);  // "Huffyuv lossless", position 2
    list(*dialog, kAudioCompressorList).setCurrentIndex(0);  // uncompressed
    press(*dialog, kOkButton);
    ASSERT_TRUE(dialog->accepted());
    EXPECT_EQ(store.read(settings::kVideoCompressorNumber), 2);
    EXPECT_EQ(store.read(settings::kAudioCompressorNumber), -1);
    EXPECT_EQ(dialog->accepted()->video.compressor->encoderName, "huffyuv");
    EXPECT_FALSE(dialog->accepted()->settings.UseAudioCompressor);

    // The next opening selects what was stored; "Defaul" goes back to the defaults.
    auto again = open();
    EXPECT_EQ(list(*again, kVideoCompressorList).currentIndex(), 3);
    EXPECT_EQ(list(*again, kAudioCompressorList).currentIndex(), 0);
    press(*again, kDefaultCompressorsButton);
    EXPECT_EQ(list(*again, kVideoCompressorList).currentIndex(), 2);
    EXPECT_EQ(list(*again, kAudioCompressorList).currentIndex(), 2);
    EXPECT_EQ(store.read(settings::kVideoCompressorNumber), 2);  // nothing written before OK
}

TEST_F(OutputOptionsDialogTest, StalePositionSelectsNothingAndOkFallsBackToTheDefault) {
    store.write(settings::kVideoCompressorNumber, 7);
    store.write(settings::kAudioCompressorNumber, 9);
    auto dialog = open();
    EXPECT_EQ(list(*dialog, kVideoCompressorList).currentIndex(), -1);
    EXPECT_EQ(list(*dialog, kAudioCompressorList).currentIndex(), -1);
    press(*dialog, kOkButton);
    ASSERT_TRUE(dialog->accepted());
    EXPECT_EQ(store.read(settings::kVideoCompressorNumber), -2);
    EXPECT_EQ(store.read(settings::kAudioCompressorNumber), -2);
    EXPECT_TRUE(dialog->accepted()->settings.UseVideoCompressor);
    EXPECT_EQ(dialog->accepted()->video.compressor->encoderName, "mpeg4");
    EXPECT_EQ(dialog->accepted()->audio.compressor->encoderName, "adpcm_ms");
}

TEST_F(OutputOptionsDialogTest, SettingsEditsTheSelectedVideoEncoderOnly) {
    auto dialog = open();
    list(*dialog, kVideoCompressorList).setCurrentIndex(0);  // full frames: nothing happens
    press(*dialog, kCompressorSettingsButton);
    EXPECT_TRUE(editorCalls.empty());
    EXPECT_TRUE(prompt.requests().isEmpty());

    list(*dialog, kVideoCompressorList).setCurrentIndex(3);  // nothing to set: says so
    press(*dialog, kCompressorSettingsButton);
    EXPECT_TRUE(editorCalls.empty());
    EXPECT_EQ(prompt.texts(),
              QStringList{QStringLiteral("Huffyuv lossless has no settings to change.")});

    list(*dialog, kVideoCompressorList).setCurrentIndex(1);  // Motion JPEG
    editorAnswer = std::nullopt;                             // the user cancels
    press(*dialog, kCompressorSettingsButton);
    ASSERT_EQ(editorCalls.size(), 1u);
    EXPECT_EQ(editorCalls[0].encoderName, "mjpeg");
    EXPECT_EQ(editorCalls[0].shown.quality, 3);  // the registry's settings
    EXPECT_FALSE(memory.holds("mjpeg"));

    editorAnswer = CompressorSettings{12, 0, 0, {}};
    press(*dialog, kCompressorSettingsButton);
    press(*dialog, kCompressorSettingsButton);
    ASSERT_EQ(editorCalls.size(), 3u);
    EXPECT_EQ(editorCalls[2].shown.quality, 12);  // shows what was chosen before
    EXPECT_EQ(memory.settingsFor(*registry.videoAt(0)).quality, 12);
    EXPECT_FALSE(memory.holds("mpeg4"));
}

TEST_F(OutputOptionsDialogTest, TwoOksWithoutChangesWriteTheSameValues) {
    auto first = open();
    press(*first, kOkButton);
    ASSERT_TRUE(first->accepted());
    settings = first->accepted()->settings;
    const QString name = store.read(settings::kOutputName);
    const int video = store.read(settings::kVideoCompressorNumber);
    auto second = open();
    press(*second, kOkButton);
    ASSERT_TRUE(second->accepted());
    EXPECT_EQ(store.read(settings::kOutputName), name);
    EXPECT_EQ(store.read(settings::kVideoCompressorNumber), video);
    EXPECT_EQ(second->accepted()->settings.OutputWidth, first->accepted()->settings.OutputWidth);
    EXPECT_EQ(second->accepted()->video.compressor->encoderName,
              first->accepted()->video.compressor->encoderName);
}

}  // namespace
}  // namespace mixer
