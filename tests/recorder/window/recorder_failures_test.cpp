// What the user hears of failures: a Record that cannot start, no sound server, a disk that is
// read-only or fills up during a take.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QScreen>
#include <QTest>

#include <cstdlib>
#include <functional>
#include <memory>

#include "recorder/window/recorder_templates.h"
#include "tests/recorder/window/recorder_window_fixture.h"
#include "tests/support/modal_script.h"
#include "tests/support/small_disk.h"
#include "tests/support/temporary_folder.h"
#include "tests/support/text_fit.h"
#include "tests/support/wav_inspection.h"
#include "widgets/image_button.h"
#include "widgets/ports/qt_prompt.h"

namespace {

using namespace recorder_test;
using test_support::SineSource;
using test_support::ToneDelivery;
namespace control = recorder::control;

const SineSource kPacedTone{"paced_440", 440.0, 44100, ToneDelivery::PacedPipe};

class RecorderFailuresTest : public testing::Test {
  protected:
    void SetUp() override { clearRecorderSettings(); }
    void TearDown() override { clearRecorderSettings(); }
    test_support::TemporaryFolder folder_;
};

// Clicks Record with `path` in the edit box; the window must stay in Ready with one new
// message box, which is returned.
base::PromptRequest recordFails(RecorderRig& rig, recorder::RecorderWindow& window,
                                const QString& path) {
    const auto shown = rig.prompt.requests().size();
    window.controls().get<QLineEdit>(control::kOutputFile).setText(path);
    clickButton(window, control::kRecord);
    EXPECT_FALSE(window.isActive());
    EXPECT_EQ(window.statusText(), "Status : Ready");
    EXPECT_TRUE(window.controls().get(control::kRecord).isEnabled());
    EXPECT_FALSE(QFile::exists(path));
    EXPECT_EQ(rig.prompt.requests().size(), shown + 1);
    return rig.prompt.requests().isEmpty() ? base::PromptRequest{} : rig.prompt.requests().back();
}

TEST_F(RecorderFailuresTest, ARecordThatCannotStartSaysWhyAndWhatToDo) {
    RecorderRig rig({kPacedTone});
    ASSERT_TRUE(rig.daemon.isRunning()) << rig.daemon.error();
    auto window = rig.makeWindow();
    const struct {
        QString path;
        QString reason;
    } cases[] = {
        {QString::fromStdString(folder_.file("no such folder/take.wav")),
         "No such file or directory"},
        {QString::fromStdString(folder_.file(std::string(300, 'n') + ".wav")),
         "File name too long"},
    };
    for (const auto& failure : cases) {
        const auto box = recordFails(rig, *window, failure.path);
        EXPECT_EQ(box.caption, "Error");
        EXPECT_EQ(box.icon, base::PromptIcon::Error);
        EXPECT_TRUE(
            box.text.startsWith("No recording was started: the output file cannot be created."))
            << box.text.toStdString();
        EXPECT_TRUE(box.text.contains(failure.reason)) << box.text.toStdString();
        EXPECT_TRUE(box.text.contains("Browse"));
    }

    // No sound server at all: a box, then the program ends.
    const std::string server = std::getenv("PULSE_SERVER");
    setenv("PULSE_SERVER", ("unix:" + folder_.file("no server")).c_str(), 1);
    auto lonely = rig.makeWindow();
    setenv("PULSE_SERVER", server.c_str(), 1);
    EXPECT_TRUE(lonely->startUpFailed());
    ASSERT_EQ(rig.prompt.requests().size(), 3);
    EXPECT_EQ(rig.prompt.requests().back().caption, "Ambrevo");
    EXPECT_TRUE(
        rig.prompt.requests().back().text.startsWith("Ambrevo cannot reach the sound server"));
    EXPECT_TRUE(rig.prompt.requests().back().text.endsWith("This program will now exit."));
}

TEST_F(RecorderFailuresTest, AFullDiskEndsTheTakeAtOnceKeepingAPlayableFile) {
    const test_support::SmallDisk readOnly(64 * 1024, test_support::DiskAccess::ReadOnly);
    const test_support::SmallDisk small(256 * 1024);
    if (!small.mounted() || !readOnly.mounted()) {
        GTEST_SKIP() << small.error() << readOnly.error();
    }
    RecorderRig rig({kPacedTone});
    ASSERT_TRUE(rig.daemon.isRunning()) << rig.daemon.error();
    auto window = rig.makeWindow();

    const auto box = recordFails(rig, *window, QString::fromStdString(readOnly.file("take.wav")));
    EXPECT_TRUE(box.text.contains("Read-only file system")) << box.text.toStdString();

    QStringList timeLeft;
    QObject::connect(&window->controller(), &recorder::RecordingController::timeLeftChanged,
                     [&](const QString& text) { timeLeft << text; });
    const QString path = QString::fromStdString(small.file("full.wav"));
    window->controls().get<QLineEdit>(control::kOutputFile).setText(path);
    clickButton(*window, control::kRecord);
    ASSERT_TRUE(window->isActive());
    // Less than an hour of space: shown while recording.
    EXPECT_FALSE(window->controls().get(control::kTimeLeft).isHidden());
    EXPECT_EQ(window->controls().get<QLabel>(control::kTimeLeft).text(), "0 min left");
    // 256 KiB hold about 1.5 s of the tone: the take ends by itself, without Stop.
    ASSERT_TRUE(pumpUntil([&] { return !window->isActive(); }, 8000));
    EXPECT_EQ(window->statusText(), "Status : Ready");
    EXPECT_FALSE(window->controller().recordTimer().isActive());
    EXPECT_TRUE(window->controls().get(control::kTimeLeft).isHidden());
    ASSERT_EQ(rig.prompt.requests().size(), 2);
    const QString text = rig.prompt.requests().back().text;
    EXPECT_TRUE(text.startsWith("The recording could not be written completely:"));
    EXPECT_TRUE(text.contains("No space left on device")) << text.toStdString();
    EXPECT_TRUE(text.contains("The disk is full.")) << text.toStdString();
    EXPECT_EQ(timeLeft.first(), "0 min left");
    EXPECT_EQ(timeLeft.last(), QString());

    // What fitted is a valid file whose header counts every sample it declares.
    const auto take = test_support::readWav(path.toStdString());
    ASSERT_TRUE(take);
    EXPECT_EQ(take->declaredDataBytes, take->storedDataBytes);
    // Nothing lies past the RIFF chunk: the file is as long as its first header field says.
    QFile stored(path);
    ASSERT_TRUE(stored.open(QIODevice::ReadOnly));
    const QByteArray riff = stored.read(8);
    ASSERT_EQ(riff.size(), 8);
    EXPECT_EQ(
        stored.size(),
        test_support::littleEndian32(reinterpret_cast<const unsigned char*>(riff.data()) + 4) + 8);
    EXPECT_GT(take->declaredDataBytes, 150u * 1024);
    EXPECT_NEAR(test_support::toneFrequencyHz(take->firstChannel, 44100), 440.0, 3.0);
}

TEST_F(RecorderFailuresTest, MessageBoxesOpenOverTheWindowsPlaceAndWrapLongPaths) {
    RecorderRig rig({kPacedTone});
    ASSERT_TRUE(rig.daemon.isRunning()) << rig.daemon.error();
    widgets::QtPrompt prompt;
    const auto makeWindow = [&] {
        return rig.makeWindow(
            recorder::RecorderPorts{prompt, rig.filePicker, rig.launcher, rig.hint});
    };
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    QString deepFolder = QString::fromStdString(folder_.path().string());
    for (int level = 0; level < 6; ++level) {
        deepFolder += QStringLiteral("/a_rather_long_folder_name_%1").arg(level);
    }
    ASSERT_TRUE(QDir().mkpath(deepFolder));
    const QString longPath = deepFolder + QStringLiteral("/take.wav");
    QFile(longPath).open(QIODevice::WriteOnly);

    struct Shown {
        QRect box;
        QStringList cut;
    };
    // Runs `action`, answers the box saying `textPart` with Enter and says how it was shown.
    const auto boxOf = [](const std::function<void()>& action, const QString& textPart) {
        Shown shown;
        const int steps =
            test_support::runWithModalScript(action,
                                             {{test_support::boxSaying(textPart),
                                               [&](QWidget& box) {
                                                   shown.box = box.frameGeometry();
                                                   shown.cut = test_support::cutTexts(box);
                                                   QTest::keyClick(&box, Qt::Key_Return);
                                               }}},
                                             5'000);
        EXPECT_EQ(steps, 1) << textPart.toStdString();
        return shown;
    };

    // Without a sound server the box opens where the window would, centred on the screen.
    const std::string server = std::getenv("PULSE_SERVER");
    setenv("PULSE_SERVER", ("unix:" + folder_.file("no server")).c_str(), 1);
    std::unique_ptr<recorder::RecorderWindow> lonely;
    const Shown noServer =
        boxOf([&] { lonely = makeWindow(); }, QStringLiteral("cannot reach the sound server"));
    setenv("PULSE_SERVER", server.c_str(), 1);
    ASSERT_TRUE(lonely->startUpFailed());
    EXPECT_TRUE(screen.contains(noServer.box)) << noServer.box.x() << "," << noServer.box.y();
    EXPECT_LE((noServer.box.center() - screen.center()).manhattanLength(), 40);
    EXPECT_EQ(noServer.cut, QStringList{});

    // A long path in the replace question wraps inside the screen.
    auto window = makeWindow();
    window->show();
    window->controls().get<QLineEdit>(control::kOutputFile).setText(longPath);
    const Shown replace = boxOf(
        [&] {
            QTest::mouseClick(&window->controls().get<widgets::ImageButton>(control::kRecord),
                              Qt::LeftButton);
        },
        QStringLiteral("Do you want to replace it?"));
    EXPECT_TRUE(screen.contains(replace.box));
    EXPECT_EQ(replace.cut, QStringList{});
    EXPECT_LE((replace.box.center() - window->frameGeometry().center()).manhattanLength(), 40);
}

}  // namespace
