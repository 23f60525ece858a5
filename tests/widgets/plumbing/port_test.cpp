#include <gtest/gtest.h>
#include <QCoreApplication>

#include "widgets/ports/desktop_launcher.h"
#include "widgets/ports/qt_file_picker.h"
#include "widgets/ports/qt_prompt.h"
#include "widgets/testing/recording_launcher.h"
#include "widgets/testing/scripted_file_picker.h"
#include "widgets/testing/scripted_prompt.h"

namespace {

using widgets::FileFilter;
using widgets::PromptAnswer;
using widgets::PromptButtons;
using widgets::PromptRequest;

TEST(FileFilters, DialogFiltersUseBlanksAndKeepTheStoredPatterns) {
    const QList<FileFilter> filters = {
        {QStringLiteral("Video Files (*.avi;*.mpg)"), QStringLiteral("*.avi; *.mpg;*.mpeg")},
        {QStringLiteral("Wave Files"), QStringLiteral("*.wav")},
        {QStringLiteral("All Files (*.*)"), QStringLiteral("*.*")},
    };
    const QList<FileFilter> stored = filters;
    EXPECT_EQ(
        widgets::nameFiltersForDialog(filters),
        (QStringList{QStringLiteral("Video Files (*.avi *.mpg *.mpeg)"),
                     QStringLiteral("Wave Files (*.wav)"), QStringLiteral("All Files (*.*)")}));
    EXPECT_EQ(filters[0].patterns, stored[0].patterns);
    EXPECT_EQ(widgets::selectedNameFilter(filters, 2), QStringLiteral("Wave Files (*.wav)"));
    EXPECT_TRUE(widgets::selectedNameFilter(filters, 0).isEmpty());
    EXPECT_TRUE(widgets::selectedNameFilter(filters, 4).isEmpty());
}

TEST(QtPrompt, CaptionDefaultsToTheApplicationName) {
    const QString previous = QCoreApplication::applicationName();
    QCoreApplication::setApplicationName(QStringLiteral("orvindel"));
    EXPECT_EQ(widgets::promptCaption(PromptRequest{QStringLiteral("Done."), QString()}),
              QStringLiteral("orvindel"));
    EXPECT_EQ(widgets::promptCaption(PromptRequest{QStringLiteral("x"), QStringLiteral("Error")}),
              QStringLiteral("Error"));
    QCoreApplication::setApplicationName(previous);
}

TEST(ScriptedPrompt, RecordsEveryBoxAndAnswersFromTheScript) {
    widgets::testing::ScriptedPrompt prompt;
    prompt.tell(QStringLiteral("Please first stop Convert"));
    EXPECT_EQ(
        prompt.show(
            {QStringLiteral("Replace?"), {}, widgets::PromptIcon::Question, PromptButtons::YesNo}),
        PromptAnswer::No);
    prompt.queueAnswer(PromptAnswer::Yes);
    EXPECT_EQ(
        prompt.show(
            {QStringLiteral("Replace?"), {}, widgets::PromptIcon::Question, PromptButtons::YesNo}),
        PromptAnswer::Yes);
    EXPECT_EQ(prompt.texts(),
              (QStringList{QStringLiteral("Please first stop Convert"), QStringLiteral("Replace?"),
                           QStringLiteral("Replace?")}));
    EXPECT_EQ(prompt.requests()[0].buttons, PromptButtons::Ok);
}

TEST(ScriptedFilePicker, CancelsUnlessAnAnswerIsQueued) {
    widgets::testing::ScriptedFilePicker picker;
    widgets::OpenFileRequest open;
    open.title = QStringLiteral("Open");
    widgets::SaveFileRequest save;
    save.title = QStringLiteral("Save");
    EXPECT_FALSE(picker.openFiles(open).has_value());
    picker.queueOpenAnswer({QStringLiteral("/tmp/a.avi"), QStringLiteral("/tmp/b.avi")});
    picker.queueOpenCancel();
    const auto chosen = picker.openFiles(open);
    ASSERT_TRUE(chosen.has_value());
    EXPECT_EQ(chosen->size(), 2);
    EXPECT_FALSE(picker.openFiles(open).has_value());
    EXPECT_EQ(picker.openRequests().size(), 3);

    picker.queueSaveAnswer(QStringLiteral("/tmp/out.avi"));
    EXPECT_EQ(picker.saveFile(save), QStringLiteral("/tmp/out.avi"));
    EXPECT_FALSE(picker.saveFile(save).has_value());
    EXPECT_EQ(picker.saveRequests().size(), 2);
}

TEST(DesktopLauncher, RefusesWhatCannotBeStartedOrOpened) {
    widgets::DesktopLauncher launcher;
    EXPECT_FALSE(launcher.startProgram(QStringLiteral("/nonexistent/folder/ambrevo"), {}));
    EXPECT_FALSE(launcher.startProgram(QString(), {}));
    EXPECT_FALSE(launcher.openWithDesktop(QUrl()));
    EXPECT_FALSE(launcher.openWithDesktop(
        QUrl::fromLocalFile(QStringLiteral("/nonexistent/folder/help/Introduction.htm"))));
}

TEST(RecordingLauncher, SucceedsUnlessScriptedToFail) {
    widgets::testing::RecordingLauncher launcher;
    EXPECT_TRUE(launcher.startProgram(QStringLiteral("ambrevo"), {}));
    launcher.queueResult(false);
    EXPECT_FALSE(launcher.openWithDesktop(QUrl(QStringLiteral("https://example.org/"))));
    EXPECT_TRUE(launcher.openWithDesktop(QUrl(QStringLiteral("https://example.org/"))));
    launcher.setAlwaysFail(true);
    EXPECT_FALSE(launcher.startProgram(QStringLiteral("ambrevo"), {QStringLiteral("a b;c")}));
    ASSERT_EQ(launcher.programStarts().size(), 2);
    EXPECT_EQ(launcher.programStarts()[1].arguments, QStringList{QStringLiteral("a b;c")});
    EXPECT_EQ(launcher.openedAddresses().size(), 2);
}

}  // namespace
