#pragma once

#include <QList>

#include <deque>
#include <optional>

#include "base/ports/file_picker_port.h"

namespace widgets::testing {

// A file picker for tests: records every request and answers from queues of scripted answers
// (one queue each for open, save and folder dialogs); when a queue is empty the user cancels.
class ScriptedFilePicker : public base::FilePickerPort {
  public:
    std::optional<QStringList> openFiles(const base::OpenFileRequest& request) override;
    std::optional<QString> saveFile(const base::SaveFileRequest& request) override;
    std::optional<QString> chooseFolder(const base::FolderRequest& request) override;

    // Chooses `files` at the next open dialog.
    void queueOpenAnswer(const QStringList& files) { m_openAnswers.push_back({true, files, 0}); }
    void queueOpenCancel() { m_openAnswers.push_back({false, {}, 0}); }
    // Chooses `path` at the next save dialog, with filter `filter` (1-based; 0 leaves the one
    // the request selected).
    void queueSaveAnswer(const QString& path, int filter = 0) {
        m_saveAnswers.push_back({true, path, filter});
    }
    void queueSaveCancel() { m_saveAnswers.push_back({false, {}, 0}); }
    // Chooses `folder` at the next folder dialog.
    void queueFolderAnswer(const QString& folder) { m_folderAnswers.push_back({true, folder, 0}); }
    const QList<base::FolderRequest>& folderRequests() const { return m_folderRequests; }
    const QList<base::OpenFileRequest>& openRequests() const { return m_openRequests; }
    const QList<base::SaveFileRequest>& saveRequests() const { return m_saveRequests; }

  private:
    QList<base::OpenFileRequest> m_openRequests;
    QList<base::SaveFileRequest> m_saveRequests;
    QList<base::FolderRequest> m_folderRequests;
    template <typename T>
    struct Answer {
        bool chosen = false;
        T value;
        int filter = 0;
    };
    std::deque<Answer<QStringList>> m_openAnswers;
    std::deque<Answer<QString>> m_saveAnswers;
    std::deque<Answer<QString>> m_folderAnswers;
};

}  // namespace widgets::testing
