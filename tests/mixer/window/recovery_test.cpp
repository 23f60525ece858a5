#include "mixer/project/recovery_files.h"
#include "mixer/window/main_window_controls.h"
#include "tests/mixer/mix/mix_window_fixture.h"
#include "tests/support/event_pump.h"
#include "widgets/image_button.h"

#include <gtest/gtest.h>
#include <QDir>
#include <QProcess>
#include <QProcessEnvironment>

#include <csignal>

namespace mixer {
namespace {

using namespace main_window;

// Every test has a state folder of its own, so recovery files never mix between tests.
class RecoveryTest : public mix_window_testing::TwoClipWindowTest<1> {
  protected:
    void SetUp() override {
        previousStateHome_ = qgetenv("XDG_STATE_HOME");
        qputenv("XDG_STATE_HOME", QByteArray::fromStdString(stateHome.path().string()));
        TwoClipWindowTest::SetUp();
    }
    void TearDown() override {
        TwoClipWindowTest::TearDown();
        qputenv("XDG_STATE_HOME", previousStateHome_);
    }
    QStringList recoveryFiles() const {
        return QDir(QString::fromStdString(stateHome.path().string()) + "/orvindel")
            .entryList({"recovery-*.orvindel"}, QDir::Files);
    }

    test_support::TemporaryFolder stateHome;

  private:
    QByteArray previousStateHome_;
};

TEST_F(RecoveryTest, ListsOfAKilledRunAreOfferedAndRestoredOnce) {
    // A real Orvindel adds a clip from its command line, and is killed once it wrote its lists.
    QProcess child;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("XDG_STATE_HOME", QString::fromStdString(stateHome.path().string()));
    environment.insert("QT_QPA_PLATFORM", "offscreen");
    child.setProcessEnvironment(environment);
    child.start(QStringLiteral(ORVINDEL_BINARY_DIR "/mixer/orvindel"),
                {QString::fromStdString(clips_->file("red.avi"))});
    ASSERT_TRUE(child.waitForStarted());
    const QString ownFile = QStringLiteral("recovery-%1.orvindel").arg(child.processId());
    ASSERT_TRUE(test_support::pumpUntil([&] { return recoveryFiles().contains(ownFile); },
                                        RecoveryWriter::kDelayMs + 20'000));
    ::kill(static_cast<pid_t>(child.processId()), SIGKILL);
    ASSERT_TRUE(child.waitForFinished(10'000));
    ASSERT_EQ(recoveryFiles(), QStringList{ownFile});

    // The next start asks once, restores the lists on Yes and keeps no left file.
    prompt.queueAnswer(base::PromptAnswer::Yes);
    window->projectCommands().offerRecovery();
    ASSERT_EQ(prompt.texts().size(), 1) << prompt.texts().join('|').toStdString();
    EXPECT_TRUE(prompt.texts()[0].startsWith("Orvindel did not end normally."));
    ASSERT_EQ(window->job().videos.size(), 1u);
    EXPECT_EQ(window->job().videos[0].FileName, clips_->file("red.avi"));
    EXPECT_GT(window->job().videos[0].Duration, 0);
    EXPECT_FALSE(recoveryFiles().contains(ownFile));
    window->projectCommands().offerRecovery();
    EXPECT_EQ(prompt.texts().size(), 1);  // asked once only
}

TEST_F(RecoveryTest, ANormalExitLeavesNoRecoveryFile) {
    listBothClips();
    ASSERT_TRUE(test_support::pumpUntil([&] { return recoveryFiles().size() == 1; },
                                        RecoveryWriter::kDelayMs + 10'000));
    clickWindowButton(kExitButton);
    EXPECT_FALSE(window->isVisible());
    EXPECT_TRUE(recoveryFiles().isEmpty());
}

TEST_F(RecoveryTest, ADamagedLeftFileNeverStopsTheStart) {
    const QString folder = recoveryFolder();
    QFile damaged(folder + "/recovery-999999999.orvindel");
    ASSERT_TRUE(damaged.open(QIODevice::WriteOnly));
    damaged.write("{\"format\": \"orvindel-pro");
    damaged.close();
    prompt.queueAnswer(base::PromptAnswer::Yes);
    window->projectCommands().offerRecovery();
    ASSERT_EQ(prompt.texts().size(), 2);
    EXPECT_TRUE(prompt.texts()[1].contains("not valid JSON"));
    EXPECT_TRUE(window->job().videos.empty());
    EXPECT_TRUE(recoveryFiles().isEmpty());
}

}  // namespace
}  // namespace mixer
