// Projects opened through the window (Ctrl+O) whose media moved, and the compressors a project
// names, driven through the real dialogs.

#include "mixer/dialogs/missing_media_dialog.h"
#include "mixer/dialogs/output_options_dialog.h"
#include "mixer/window/main_window_controls.h"
#include "mixer/window/orvindel_start_up.h"
#include "tests/mixer/mix/mix_window_fixture.h"
#include "tests/support/event_pump.h"
#include "tests/support/modal_script.h"
#include "widgets/image_button.h"
#include "widgets/ports/qt_file_picker.h"

#include <gtest/gtest.h>
#include <QComboBox>
#include <QFile>
#include <QListWidget>
#include <QProcess>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>

#include <filesystem>

namespace mixer {
namespace {

using namespace main_window;
using test_support::ModalStep;

namespace fs = std::filesystem;

void writeText(const fs::path& path, const QByteArray& text) {
    fs::create_directories(path.parent_path());
    QFile file(QString::fromStdString(path.string()));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(text);
}

QString pathText(const fs::path& path) {
    return QString::fromStdString(path.string());
}

bool isFileDialog(QWidget& modal) {
    return qobject_cast<QFileDialog*>(&modal) != nullptr;
}

// Ready when the missing-files dialog lists exactly `count` files.
std::function<bool(QWidget&)> missingDialogListing(int count) {
    return [count](QWidget& modal) {
        auto* dialog = qobject_cast<MissingMediaDialog*>(&modal);
        return dialog != nullptr &&
               dialog->findChild<QListWidget*>(QStringLiteral("missingFiles"))->count() == count;
    };
}

QStringList listed(QWidget& missingDialog) {
    QStringList names;
    auto* list = missingDialog.findChild<QListWidget*>(QStringLiteral("missingFiles"));
    for (int row = 0; row < list->count(); ++row) {
        names << list->item(row)->text();
    }
    return names;
}

// Window shortcuts need the window active, which the offscreen platform does not restore after
// a modal window closed.
void pressOnWindow(QWidget& window, Qt::Key key) {
    window.activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(&window));
    QTest::keyClick(&window, key, Qt::ControlModifier);
}

void clickButton(QWidget& dialog, const char* text) {
    for (QPushButton* button : dialog.findChildren<QPushButton*>()) {
        if (button->text() == QString::fromUtf8(text)) {
            QTest::mouseClick(button, Qt::LeftButton);
            return;
        }
    }
    ADD_FAILURE() << "no button " << text;
}

// The window over the real non-native file dialogs.
class MissingMediaTest : public mix_window_testing::TwoClipWindowTest<1> {
  protected:
    void SetUp() override {
        TwoClipWindowTest::SetUp();
        window =
            startMainWindow(store, MainWindowPorts{prompt, realPicker, launcher}, *compressors_);
        window->show();
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    }

    // Ctrl+O; the project is chosen by typing its path into the open dialog.
    int openProject(const fs::path& project, std::vector<ModalStep> afterChoosing) {
        std::vector<ModalStep> steps{{isFileDialog, [project](QWidget& modal) {
                                          test_support::typeNameAndPressEnter(modal,
                                                                              pathText(project));
                                      }}};
        steps.insert(steps.end(), afterChoosing.begin(), afterChoosing.end());
        return test_support::runWithModalScript([this] { pressOnWindow(*window, Qt::Key_O); },
                                                steps);
    }

    // Lists the red clip, then the blue one, through "Add video" and the open dialog, whose
    // name box takes both paths quoted.
    void listBothClips() {
        const QString typed =
            QStringLiteral("\"%1\" \"%2\"").arg(clipPath("red.avi"), clipPath("blue.avi"));
        const int steps = test_support::runWithModalScript(
            [this] { clickWindowButton(kAddVideoButton); },
            {{isFileDialog,
              [typed](QWidget& modal) { test_support::typeNameAndPressEnter(modal, typed); }}});
        EXPECT_EQ(steps, 1);
        ASSERT_EQ(window->job().videos.size(), 2u) << prompt.texts().join("|").toStdString();
    }

    widgets::QtFilePicker realPicker;
};

TEST_F(MissingMediaTest, MovedMediaAreFoundInAChosenFolderAndTheRestLeftOutOnce) {
    // The project names its clips under clips/, one of them twice and in the audio list too;
    // the clips now lie at different depths of another folder, one (gone.avi) nowhere.
    const fs::path project = folder.path() / "trip" / "trip.orvindel";
    writeText(project, R"({"format": "orvindel-project", "version": 1,
        "videos": [{"file": "clips/red.avi"}, {"file": "clips/gone.avi"},
                   {"file": "clips/blue.avi"}, {"file": "clips/red.avi"}],
        "audios": [{"file": "clips/blue.avi"}]})");
    const fs::path moved = folder.path() / "moved";
    fs::create_directories(moved / "a");
    fs::create_directories(moved / "b" / "c" / "d");
    fs::copy_file(clips_->file("red.avi"), moved / "a" / "red.avi");
    fs::copy_file(clips_->file("blue.avi"), moved / "b" / "c" / "blue.avi");
    fs::copy_file(clips_->file("blue.avi"), moved / "b" / "c" / "d" / "red.avi");  // deeper
    listBothClips();
    const MixJob before = window->job();
    const QString title = window->windowTitle();
    const QStringList expectedMissing{pathText(project.parent_path() / "clips" / "red.avi"),
                                      pathText(project.parent_path() / "clips" / "gone.avi"),
                                      pathText(project.parent_path() / "clips" / "blue.avi")};

    // Cancel: the open is cancelled and nothing changes.
    QStringList shown;
    int steps = openProject(project, {{missingDialogListing(3), [&](QWidget& dialog) {
                                           shown = listed(dialog);
                                           clickButton(dialog, kCancelOpenText);
                                       }}});
    EXPECT_EQ(steps, 2);
    EXPECT_EQ(shown, expectedMissing);
    EXPECT_EQ(window->job().videos.size(), before.videos.size());
    EXPECT_EQ(window->job().videos[1].FileName, before.videos[1].FileName);
    EXPECT_EQ(window->job().audios.size(), before.audios.size());
    EXPECT_EQ(window->windowTitle(), title);
    EXPECT_TRUE(prompt.texts().isEmpty()) << prompt.texts().join("|").toStdString();

    // Look in the folder: red and blue are found, gone.avi alone is listed again, then left out.
    shown.clear();
    steps = openProject(
        project,
        {{missingDialogListing(3), [](QWidget& dialog) { clickButton(dialog, kLookInFolderText); }},
         {[](QWidget& modal) {
              auto* dialog = qobject_cast<QFileDialog*>(&modal);
              return dialog != nullptr && dialog->fileMode() == QFileDialog::Directory;
          },
          [&](QWidget& modal) { test_support::typeNameAndPressEnter(modal, pathText(moved)); }},
         {missingDialogListing(1), [&](QWidget& dialog) {
              shown = listed(dialog);
              clickButton(dialog, kLeaveOutText);
          }}});
    EXPECT_EQ(steps, 4);
    EXPECT_EQ(shown, QStringList{expectedMissing[1]});

    const std::string red = (moved / "a" / "red.avi").string();
    const std::string blue = (moved / "b" / "c" / "blue.avi").string();
    const MixJob& opened = window->job();
    ASSERT_EQ(opened.videos.size(), 3u) << prompt.texts().join("|").toStdString();
    const std::vector<std::string> expectedVideos{red, blue, red};
    for (std::size_t i = 0; i < opened.videos.size(); ++i) {
        EXPECT_EQ(opened.videos[i].FileName, expectedVideos[i]) << i;
        EXPECT_EQ(opened.videos[i].Duration, before.videos[i == 1 ? 1 : 0].Duration) << i;
    }
    ASSERT_EQ(opened.audios.size(), 1u);
    EXPECT_EQ(opened.audios[0].FileName, blue);
    EXPECT_EQ(window->controls().get<QTreeWidget>(kVideoList).topLevelItemCount(), 3);
    EXPECT_TRUE(window->windowTitle().startsWith("trip - "));
    ASSERT_EQ(prompt.texts().size(), 1);
    EXPECT_EQ(prompt.texts()[0].count("gone.avi"), 1);
    EXPECT_FALSE(prompt.texts()[0].contains("red.avi"));
}

class ProjectCompressorsTest : public mix_window_testing::TwoClipWindowTest<1> {
  protected:
    // Runs the output options from the Options button; `act` works the real dialog.
    void withOptions(const std::function<void(OutputOptionsDialog&)>& act) {
        const int steps = test_support::runWithModalScript(
            [this] { clickWindowButton(kOptionsButton); },
            {{[](QWidget& modal) { return qobject_cast<OutputOptionsDialog*>(&modal) != nullptr; },
              [&](QWidget& modal) { act(static_cast<OutputOptionsDialog&>(modal)); }}});
        ASSERT_EQ(steps, 1);
    }
    static QComboBox& list(OutputOptionsDialog& dialog, int id) {
        return dialog.controls().get<QComboBox>(id);
    }
    static void press(QWidget& control, Qt::Key key) {
        control.setFocus();
        QTest::keyClick(&control, key);
    }
    static void pressOk(OutputOptionsDialog& dialog) {
        QTest::mouseClick(&dialog.controls().get<QPushButton>(output_options::kOkButton),
                          Qt::LeftButton);
    }
    // What the options show now, video then audio.
    QStringList shownCompressors() {
        QStringList shown;
        withOptions([&](OutputOptionsDialog& dialog) {
            shown << list(dialog, output_options::kVideoCompressorList).currentText()
                  << list(dialog, output_options::kAudioCompressorList).currentText();
            dialog.reject();
        });
        return shown;
    }
};

TEST_F(ProjectCompressorsTest, ChoicesComeBackInAFreshWindowAndUnknownNamesAreRefused) {
    // The last video compressor and no audio compressor, chosen with keys in the real options.
    QStringList chosen;
    withOptions([&](OutputOptionsDialog& dialog) {
        press(list(dialog, output_options::kVideoCompressorList), Qt::Key_End);
        press(list(dialog, output_options::kAudioCompressorList), Qt::Key_Home);
        chosen << list(dialog, output_options::kVideoCompressorList).currentText()
               << list(dialog, output_options::kAudioCompressorList).currentText();
        pressOk(dialog);
    });
    ASSERT_EQ(chosen.size(), 2);
    EXPECT_EQ(chosen[1], QString::fromUtf8(kUncompressedAudioText));
    listBothClips();
    const QString project = QString::fromStdString(folder.file("choices.orvindel"));
    picker.queueSaveAnswer(project);
    pressOnWindow(*window, Qt::Key_S);
    ASSERT_TRUE(QFile::exists(project)) << prompt.texts().join("|").toStdString();

    // A fresh window over a profile that forgot the choices shows the defaults...
    window.reset();
    QSettings profile("Korvane", "orvindel");
    profile.remove("DexVideoCompress");
    profile.remove("DexAudioCompress");
    profile.sync();
    window = startMainWindow(store, MainWindowPorts{prompt, picker, launcher}, *compressors_);
    window->show();
    const QStringList fresh = shownCompressors();
    ASSERT_NE(fresh, chosen);
    // ...until the project is opened.
    picker.queueOpenAnswer({project});
    pressOnWindow(*window, Qt::Key_O);
    ASSERT_EQ(window->job().videos.size(), 2u) << prompt.texts().join("|").toStdString();
    EXPECT_EQ(shownCompressors(), chosen);
    EXPECT_TRUE(window->job().outputSettings.UseVideoCompressor);
    EXPECT_FALSE(window->job().outputSettings.UseAudioCompressor);

    // Hand-written names the lists do not hold are refused, naming them; nothing changes.
    struct Case {
        const char* output;
        const char* refusedName;
    };
    const Case cases[] = {
        {R"({"videoCompressor": "Cinepak Deluxe"})", "Cinepak Deluxe"},
        {R"({"file": "x.mp4", "audioCompressor": "Uncompressed Audio"})", "Uncompressed Audio"},
    };
    for (const Case& bad : cases) {
        const QString file = QString::fromStdString(folder.file("bad.orvindel"));
        QFile::remove(file);
        writeText(
            folder.file("bad.orvindel"),
            QByteArray(R"({"format": "orvindel-project", "version": 1, "videos": [], "output": )") +
                bad.output + "}");
        const qsizetype shownBefore = prompt.texts().size();
        picker.queueOpenAnswer({file});
        pressOnWindow(*window, Qt::Key_O);
        ASSERT_EQ(prompt.texts().size(), shownBefore + 1) << bad.refusedName;
        EXPECT_TRUE(prompt.texts().last().contains(QStringLiteral("\"%1\"").arg(bad.refusedName)))
            << prompt.texts().last().toStdString();
        EXPECT_EQ(window->job().videos.size(), 2u);
        EXPECT_EQ(shownCompressors(), chosen);
    }
}

// A project that names no compressors, opened in a window bound to the stored AVI choices, mixes
// with its own container's: its MP4 plays, instead of the Mix failing on an AVI-only codec.
TEST_F(ProjectCompressorsTest, AProjectWithoutNamesMixesWithItsOwnContainersCompressors) {
    const std::string output = folder.file("named nothing.mp4");
    writeText(folder.file("mp4.orvindel"),
              QByteArray(R"({"format": "orvindel-project", "version": 1, "videos": [{"file": ")") +
                  QByteArray::fromStdString(clips_->file("red.avi")) +
                  R"("}], "output": {"file": ")" + QByteArray::fromStdString(output) +
                  R"(", "width": 160, "height": 120, "frameRate": 25}})");
    picker.queueOpenAnswer({QString::fromStdString(folder.file("mp4.orvindel"))});
    pressOnWindow(*window, Qt::Key_O);
    ASSERT_EQ(window->job().videos.size(), 1u) << prompt.texts().join("|").toStdString();

    clickWindowButton(kMixButton);
    ASSERT_TRUE(test_support::pumpUntil([&] { return !window->job().Converting; },
                                        mix_window_testing::kMixTimeoutMs));
    const editing::DurationProbe written = editing::probeDuration(output);
    ASSERT_TRUE(written.succeeded()) << prompt.texts().join("|").toStdString();
    EXPECT_NEAR(static_cast<double>(written.durationRefTime), 1.0 * editing::kRefTimePerSecond,
                0.1 * editing::kRefTimePerSecond);
    // The MP4 list's default video compressor, not the AVI choice the window was bound to.
    QProcess probe;
    probe.start(QStringLiteral("ffprobe"),
                {"-v", "error", "-select_streams", "v:0", "-show_entries", "stream=codec_name",
                 "-of", "csv=p=0", QString::fromStdString(output)});
    ASSERT_TRUE(probe.waitForFinished(30'000));
    EXPECT_EQ(QString::fromUtf8(probe.readAllStandardOutput()).trimmed(), QStringLiteral("h264"));
}

}  // namespace
}  // namespace mixer
