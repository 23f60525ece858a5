#include "mixer/dialogs/missing_media_dialog.h"
#include "mixer/window/main_window_controls.h"
#include "tests/mixer/mix/mix_window_fixture.h"
#include "tests/support/modal_script.h"
#include "widgets/image_button.h"

#include <gtest/gtest.h>
#include <QFile>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>

#include <filesystem>

namespace mixer {
namespace {

using namespace main_window;
using base::PromptAnswer;

class ProjectCommandsTest : public mix_window_testing::TwoClipWindowTest<1> {
  protected:
    // The two clips copied into a project folder of the test's own.
    void SetUp() override {
        TwoClipWindowTest::SetUp();
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
        projectFolder = folder.path() / "holiday";
        std::filesystem::create_directories(projectFolder / "clips");
        for (const char* name : {"red.avi", "blue.avi"}) {
            std::filesystem::copy_file(clips_->file(name), projectFolder / "clips" / name);
        }
    }
    QString inProject(const std::string& name) const {
        return QString::fromStdString((projectFolder / name).string());
    }
    void pressKeys(Qt::Key key, Qt::KeyboardModifiers modifiers) {
        QTest::keyClick(window.get(), key, modifiers);
    }

    std::filesystem::path projectFolder;
};

TEST_F(ProjectCommandsTest, ListsBuiltInTheWindowComeBackAfterTheFolderMoved) {
    for (const char* clip : {"clips/red.avi", "clips/blue.avi"}) {
        picker.queueOpenAnswer({inProject(clip)});
        clickWindowButton(kAddVideoButton);
    }
    picker.queueOpenAnswer({QString::fromStdString(clips_->file("blue.avi"))});
    clickWindowButton(kAddAudioButton);
    ASSERT_EQ(window->job().videos.size(), 2u);
    ASSERT_EQ(window->job().audios.size(), 3u);
    const MixJob built = window->job();

    picker.queueSaveAnswer(inProject("trip"));
    pressKeys(Qt::Key_S, Qt::ControlModifier);
    ASSERT_TRUE(QFile::exists(inProject("trip.orvindel")))
        << prompt.texts().join("|").toStdString();
    EXPECT_EQ(window->windowTitle().left(7), "trip - ");

    // A change marks the title; the lists are emptied and the folder moved as a whole.
    clickWindowButton(kDeleteAllButton);
    EXPECT_TRUE(window->windowTitle().startsWith("*trip"));
    prompt.queueAnswer(PromptAnswer::No);  // discard the change
    const std::filesystem::path moved = folder.path() / "moved";
    std::filesystem::rename(projectFolder, moved);
    picker.queueOpenAnswer({QString::fromStdString((moved / "trip.orvindel").string())});
    pressKeys(Qt::Key_O, Qt::ControlModifier);

    const MixJob& opened = window->job();
    ASSERT_EQ(opened.videos.size(), built.videos.size()) << prompt.texts().join("|").toStdString();
    for (std::size_t i = 0; i < opened.videos.size(); ++i) {
        EXPECT_EQ(std::filesystem::path(opened.videos[i].FileName).filename(),
                  std::filesystem::path(built.videos[i].FileName).filename());
        EXPECT_TRUE(opened.videos[i].FileName.starts_with(moved.string()));
        EXPECT_EQ(opened.videos[i].TransitionEffect, built.videos[i].TransitionEffect);
        EXPECT_EQ(opened.videos[i].TransitionDuration, built.videos[i].TransitionDuration);
        EXPECT_EQ(opened.videos[i].Duration, built.videos[i].Duration);
    }
    ASSERT_EQ(opened.audios.size(), built.audios.size());
    EXPECT_EQ(opened.audios[2].FileName, clips_->file("blue.avi"));  // outside: absolute
    EXPECT_EQ(opened.audios[1].StartTime, built.audios[1].StartTime);
    EXPECT_EQ(window->controls().get<QTreeWidget>(kVideoList).topLevelItemCount(), 2);
    EXPECT_EQ(window->windowTitle().left(7), "trip - ");
}

TEST_F(ProjectCommandsTest, RefusedOrPartlyMissingProjectsAreReportedOnce) {
    picker.queueOpenAnswer({inProject("clips/red.avi")});
    clickWindowButton(kAddVideoButton);
    {
        QFile bad(inProject("newer.orvindel"));
        ASSERT_TRUE(bad.open(QIODevice::WriteOnly));
        bad.write(R"({"format": "orvindel-project", "version": 7, "videos": []})");
    }
    picker.queueOpenAnswer({inProject("newer.orvindel")});
    pressKeys(Qt::Key_O, Qt::ControlModifier);
    ASSERT_EQ(prompt.texts().size(), 1);
    EXPECT_TRUE(prompt.texts()[0].contains("version 7"));
    EXPECT_EQ(window->job().videos.size(), 1u);  // the lists stay as they were

    {
        QFile partly(inProject("partly.orvindel"));
        ASSERT_TRUE(partly.open(QIODevice::WriteOnly));
        partly.write(R"({"format": "orvindel-project", "version": 1, "videos": [
            {"file": "clips/blue.avi"}, {"file": "gone.avi"}, {"file": "gone.avi"}]})");
    }
    // The missing file is offered once in the missing-files dialog, and left out there.
    picker.queueOpenAnswer({inProject("partly.orvindel")});
    QStringList offered;
    const int steps = test_support::runWithModalScript(
        [&] { pressKeys(Qt::Key_O, Qt::ControlModifier); },
        {{[](QWidget& modal) { return qobject_cast<MissingMediaDialog*>(&modal) != nullptr; },
          [&](QWidget& dialog) {
              auto* list = dialog.findChild<QListWidget*>(QStringLiteral("missingFiles"));
              for (int row = 0; row < list->count(); ++row) {
                  offered << list->item(row)->text();
              }
              for (QPushButton* button : dialog.findChildren<QPushButton*>()) {
                  if (button->text() == QString::fromUtf8(kLeaveOutText)) {
                      QTest::mouseClick(button, Qt::LeftButton);
                  }
              }
          }}});
    EXPECT_EQ(steps, 1);
    EXPECT_EQ(offered, QStringList{inProject("gone.avi")});
    ASSERT_EQ(window->job().videos.size(), 1u);
    EXPECT_EQ(window->job().videos[0].FileName, inProject("clips/blue.avi").toStdString());
    ASSERT_EQ(prompt.texts().size(), 2);
    EXPECT_EQ(prompt.texts()[1].count("gone.avi"), 1);
}

TEST_F(ProjectCommandsTest, ClosingUnsavedChangesOfAProjectAsks) {
    picker.queueSaveAnswer(inProject("p.orvindel"));
    pressKeys(Qt::Key_S, Qt::ControlModifier | Qt::ShiftModifier);
    picker.queueOpenAnswer({inProject("clips/red.avi")});
    clickWindowButton(kAddVideoButton);

    clickWindowButton(kExitButton);  // the scripted prompt answers Cancel
    EXPECT_TRUE(window->isVisible());
    ASSERT_EQ(prompt.texts().size(), 1);
    EXPECT_EQ(prompt.texts()[0], "Save the changes to p.orvindel?");

    prompt.queueAnswer(PromptAnswer::Yes);  // Save
    clickWindowButton(kExitButton);
    EXPECT_FALSE(window->isVisible());
    QFile saved(inProject("p.orvindel"));
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    EXPECT_TRUE(saved.readAll().contains("clips/red.avi"));
}

}  // namespace
}  // namespace mixer
