// The ambrevo program run as a process: its command-line answers without a display, and one
// Ambrevo per user.
#include <gtest/gtest.h>

#include <QProcess>
#include <QProcessEnvironment>

#include <filesystem>

#include "tests/support/event_pump.h"
#include "tests/support/private_pulse_daemon.h"

namespace {

const QString kProgram = QStringLiteral(ORVINDEL_BINARY_DIR "/recorder/ambrevo");

TEST(AmbrevoCommandLine, AnswersOnTheConsoleWithoutADisplay) {
    QProcessEnvironment console = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
        console.remove(QString::fromLatin1(name));
    }
    QProcessEnvironment offscreen = console;
    offscreen.insert("QT_QPA_PLATFORM", "offscreen");
    const struct {
        const char* argument;
        const QProcessEnvironment& environment;
        int exitCode;
        QProcess::ProcessChannel channel;
        const char* answerStart;
    } cases[] = {
        {"--help", console, 0, QProcess::StandardOutput, "Usage: ambrevo"},
        {"-h", console, 0, QProcess::StandardOutput, "Usage: ambrevo"},
        {"--version", console, 0, QProcess::StandardOutput, "ambrevo 3.0"},
        // Past the display's own options, anything else is refused, and no window opens.
        {"--record", offscreen, 1, QProcess::StandardError, "ambrevo: unknown argument --record"},
    };
    for (const auto& question : cases) {
        SCOPED_TRACE(question.argument);
        QProcess program;
        program.setProcessEnvironment(question.environment);
        program.start(kProgram, {QString::fromLatin1(question.argument)});
        ASSERT_TRUE(program.waitForFinished(10'000));
        EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(program.exitCode(), question.exitCode);
        program.setReadChannel(question.channel);
        const QString answer = QString::fromUtf8(program.readAll());
        // Standard error may carry the platform's notes before the answer.
        const QString expected = QString::fromLatin1(question.answerStart);
        EXPECT_TRUE(question.channel == QProcess::StandardOutput ? answer.startsWith(expected)
                                                                 : answer.contains(expected))
            << answer.toStdString();
        EXPECT_TRUE(answer.endsWith('\n'));
    }
}

TEST(AmbrevoInstance, ASecondStartRaisesTheRunningOneAndLeaves) {
    // The daemon's runtime folder is this user's XDG_RUNTIME_DIR for both starts.
    test_support::PrivatePulseDaemon daemon({{"tone_a", 440.0}});
    ASSERT_TRUE(daemon.isRunning()) << daemon.error();
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("QT_QPA_PLATFORM", "offscreen");
    environment.insert("QT_LOGGING_RULES", "ambrevo.recorder.info=true");
    const auto socket =
        std::filesystem::path(qEnvironmentVariable("XDG_RUNTIME_DIR").toStdString()) /
        "ambrevo-instance";

    QProcess first;
    first.setProcessEnvironment(environment);
    first.start(kProgram, {});
    ASSERT_TRUE(first.waitForStarted());
    ASSERT_TRUE(test_support::pumpUntil([&] { return std::filesystem::exists(socket); }, 20'000))
        << first.readAllStandardError().toStdString();

    QProcess second;
    second.setProcessEnvironment(environment);
    second.start(kProgram, {});
    ASSERT_TRUE(second.waitForFinished(10'000));
    EXPECT_EQ(second.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(second.exitCode(), 0);

    QByteArray firstLog;
    EXPECT_TRUE(test_support::pumpUntil(
        [&] {
            first.waitForReadyRead(50);
            firstLog += first.readAllStandardError();
            return firstLog.contains("raise request from a later start");
        },
        10'000))
        << firstLog.toStdString();
    EXPECT_EQ(first.state(), QProcess::Running);
    first.terminate();
    if (!first.waitForFinished(5000)) {
        first.kill();
        first.waitForFinished();
    }
}

}  // namespace
