#include <gtest/gtest.h>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QGuiApplication>
#include <QLabel>
#include <QMessageBox>
#include <QScreen>

#include "tests/support/modal_script.h"
#include "tests/support/temporary_folder.h"
#include "widgets/ports/desktop_launcher.h"
#include "widgets/ports/qt_file_picker.h"
#include "widgets/ports/qt_prompt.h"
#include "widgets/testing/recording_launcher.h"
#include "widgets/testing/scripted_file_picker.h"
#include "widgets/testing/scripted_prompt.h"

namespace {

using base::FileFilter;
using base::PromptAnswer;
using base::PromptButtons;
using base::PromptRequest;

TEST(FileFilters, DialogFiltersUseBlanksAndKeepTheStoredPatterns) {
    const QList<FileFilter> filters = {
        {QStringLiteral("Video Files (*.avi;*.mpg)"), QStringLiteral("*.avi; *.mpg;*.mpeg")},
        {QStringLiteral("Wave Files"), QStringLiteral("*.wav")},
        {QStringLiteral("All Files (*.*)"), QStringLiteral("*.*")},
    };
    const QList<FileFilter> stored = filters;
    EXPECT_EQ(widgets::nameFiltersForDialog(filters),
              (QStringList{QStringLiteral("Video Files (*.avi *.mpg *.mpeg)"),
                           QStringLiteral("Wave Files (*.wav)"), QStringLiteral("All Files (*)")}));
    EXPECT_EQ(filters[0].patterns, stored[0].patterns);
    EXPECT_EQ(widgets::selectedNameFilter(filters, 2), QStringLiteral("Wave Files (*.wav)"));
    EXPECT_TRUE(widgets::selectedNameFilter(filters, 0).isEmpty());
    EXPECT_TRUE(widgets::selectedNameFilter(filters, 4).isEmpty());
}

// A folder as a camera card and a download folder leave it: upper-case camera names, a file
// without any dot.
class QtFilePickerTest : public testing::Test {
  protected:
    void SetUp() override {
        for (const char* name : {"MVI_0001.MP4", "IMG_0001.MOV", "clip.mp4", "README", "old.avi"}) {
            QFile file(path(name));
            ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << name;
            file.write("x");
        }
    }
    QString path(const char* name) const { return QDir(folderPath()).filePath(name); }
    QString folderPath() const { return QString::fromStdString(folder.path().string()); }

    test_support::TemporaryFolder folder;
    widgets::QtFilePicker picker;
};

TEST_F(QtFilePickerTest, OpenFiltersIgnoreCaseAndAnyFilesListsEveryFile) {
    base::OpenFileRequest request;
    request.title = QStringLiteral("Select Media Files...");
    request.filters = {
        {QStringLiteral("Video Files (*.mp4;*.mov)"), QStringLiteral("*.mp4; *.mov")},
        {QStringLiteral("Any Files (*.*)"), QStringLiteral("*.*;")}};
    request.initialFolder = folderPath();
    QStringList underVideo;
    QStringList underAny;
    bool nativeRefused = false;
    std::optional<QStringList> chosen;
    const int steps = test_support::runWithModalScript(
        [&] { chosen = picker.openFiles(request); },
        {{test_support::fileDialogListing(QStringLiteral("clip.mp4")),
          [&](QWidget& modal) {
              auto& dialog = static_cast<QFileDialog&>(modal);
              nativeRefused = dialog.testOption(QFileDialog::DontUseNativeDialog);
              underVideo = test_support::fileDialogNames(dialog);
              dialog.selectNameFilter(dialog.nameFilters().at(1));
          }},
         {test_support::fileDialogListing(QStringLiteral("README")), [&](QWidget& modal) {
              underAny = test_support::fileDialogNames(static_cast<QFileDialog&>(modal));
              test_support::typeNameAndPressEnter(modal, QStringLiteral("README"));
          }}});
    EXPECT_EQ(steps, 2);
    EXPECT_TRUE(nativeRefused);
    underVideo.sort();
    EXPECT_EQ(underVideo, (QStringList{"IMG_0001.MOV", "MVI_0001.MP4", "clip.mp4"}));
    EXPECT_TRUE(underAny.contains("README"));
    EXPECT_TRUE(underAny.contains("old.avi"));
    ASSERT_TRUE(chosen.has_value());
    EXPECT_EQ(*chosen, QStringList{path("README")});
}

// A typed name holding double quotes is one file when it names one (or, to save, always); a
// list of quoted names still picks several.
TEST_F(QtFilePickerTest, TypedNamesWithDoubleQuotesAreNotSplit) {
    {
        QFile quoted(path("say \"hi\".mp4"));
        ASSERT_TRUE(quoted.open(QIODevice::WriteOnly));
    }
    base::OpenFileRequest open;
    open.title = QStringLiteral("Select Media Files...");
    open.filters = {{QStringLiteral("Any Files (*.*)"), QStringLiteral("*.*;")}};
    open.initialFolder = folderPath();
    open.selection = base::FileSelection::Several;
    struct Case {
        QString typed;
        QStringList expected;
    };
    const std::vector<Case> cases = {
        {QStringLiteral("say \"hi\".mp4"), {path("say \"hi\".mp4")}},
        {QStringLiteral("\"clip.mp4\" \"old.avi\""), {path("clip.mp4"), path("old.avi")}},
    };
    for (const Case& check : cases) {
        SCOPED_TRACE(check.typed.toStdString());
        std::optional<QStringList> chosen;
        const int steps = test_support::runWithModalScript(
            [&] { chosen = picker.openFiles(open); },
            {{test_support::fileDialogListing(QStringLiteral("clip.mp4")),
              [&](QWidget& modal) { test_support::typeNameAndPressEnter(modal, check.typed); }}});
        EXPECT_EQ(steps, 1);
        ASSERT_TRUE(chosen.has_value());
        EXPECT_EQ(*chosen, check.expected);
    }

    base::SaveFileRequest save;
    save.title = QStringLiteral("Select Output File Name");
    save.filters = {{QStringLiteral("AVI file"), QStringLiteral("*.avi")}};
    save.initialFolder = folderPath();
    std::optional<QString> saved;
    test_support::runWithModalScript(
        [&] { saved = picker.saveFile(save); },
        {{test_support::fileDialogListing(QStringLiteral("old.avi")), [](QWidget& modal) {
              test_support::typeNameAndPressEnter(modal, QStringLiteral("new \"take\".avi"));
          }}});
    EXPECT_EQ(saved, std::optional<QString>(path("new \"take\".avi")));
}

TEST_F(QtFilePickerTest, SaveOffersTheNameRefusesWildcardsAndAsksNoOverwriteQuestion) {
    base::SaveFileRequest request;
    request.title = QStringLiteral("Select Output File Name");
    request.filters = {{QStringLiteral("AVI file"), QStringLiteral("*.avi")}};
    request.initialFolder = folderPath();
    request.initialName = QStringLiteral("old.avi");
    QString offered;
    std::optional<QString> chosen;
    // The offered name of an existing file is taken with Enter, without a question.
    int steps = test_support::runWithModalScript(
        [&] { chosen = picker.saveFile(request); },
        {{test_support::fileDialogListing(QStringLiteral("old.avi")), [&](QWidget& modal) {
              QLineEdit* box = test_support::fileDialogNameBox(static_cast<QFileDialog&>(modal));
              offered = box->text();
              QTest::keyClick(box, Qt::Key_Return);
          }}});
    EXPECT_EQ(steps, 1);
    EXPECT_EQ(offered, QStringLiteral("old.avi"));
    EXPECT_EQ(chosen, std::optional<QString>(path("old.avi")));

    // A wildcard offered as the name ("*.*") is a filter: the name box opens empty. A typed
    // wildcard name is refused with a message and the dialog stays open for another name.
    request.initialName = QStringLiteral("*.*");
    steps = test_support::runWithModalScript(
        [&] { chosen = picker.saveFile(request); },
        test_support::patternRefusedThenNamed(QStringLiteral("old.avi"), QStringLiteral("*.avi"),
                                              QStringLiteral("new take.avi"), offered));
    EXPECT_EQ(steps, 3);
    EXPECT_EQ(offered, QString());
    EXPECT_EQ(chosen, std::optional<QString>(path("new take.avi")));
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
            {QStringLiteral("Replace?"), {}, base::PromptIcon::Question, PromptButtons::YesNo}),
        PromptAnswer::No);
    prompt.queueAnswer(PromptAnswer::Yes);
    EXPECT_EQ(
        prompt.show(
            {QStringLiteral("Replace?"), {}, base::PromptIcon::Question, PromptButtons::YesNo}),
        PromptAnswer::Yes);
    EXPECT_EQ(prompt.texts(),
              (QStringList{QStringLiteral("Please first stop Convert"), QStringLiteral("Replace?"),
                           QStringLiteral("Replace?")}));
    EXPECT_EQ(prompt.requests()[0].buttons, PromptButtons::Ok);
}

TEST(ScriptedFilePicker, CancelsUnlessAnAnswerIsQueued) {
    widgets::testing::ScriptedFilePicker picker;
    base::OpenFileRequest open;
    open.title = QStringLiteral("Open");
    base::SaveFileRequest save;
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

// A message naming a long path (a file name longer than the box is wide) wraps inside the box,
// which stays on the screen; the text reads as given.
TEST(QtPrompt, ALongPathWrapsInsideTheBox) {
    QString text = QStringLiteral("Could not write ");
    for (int folder = 0; folder < 6; ++folder) {
        text += QStringLiteral("/a_rather_long_folder_name_%1").arg(folder);
    }
    text += QLatin1Char('/') + QString(150, QLatin1Char('x')) +
            QStringLiteral(".avi: No space left on device");
    widgets::QtPrompt prompt;
    int neededWidth = -1;
    int labelWidth = 0;
    int boxWidth = 0;
    QString shown;
    const int steps = test_support::runWithModalScript(
        [&] { prompt.tell(text); },
        {{[](QWidget& modal) { return qobject_cast<QMessageBox*>(&modal) != nullptr; },
          [&](QWidget& modal) {
              const auto* label = modal.findChild<QLabel*>(QStringLiteral("qt_msgbox_label"));
              if (label != nullptr) {
                  labelWidth = label->width();
                  neededWidth = label->fontMetrics()
                                    .boundingRect(QRect(0, 0, labelWidth, 100'000),
                                                  Qt::TextWordWrap, label->text())
                                    .width();
                  shown = label->text();
              }
              boxWidth = modal.frameGeometry().width();
              static_cast<QMessageBox&>(modal).accept();
          }}});
    ASSERT_EQ(steps, 1);
    ASSERT_GE(neededWidth, 0);
    EXPECT_LE(neededWidth, labelWidth);
    EXPECT_LE(boxWidth, QGuiApplication::primaryScreen()->availableGeometry().width());
    EXPECT_EQ(shown.remove(QChar(0x200B)), text);  // only invisible break points added
}
