#include "widgets/testing/scripted_file_picker.h"

namespace widgets::testing {

std::optional<QStringList> ScriptedFilePicker::openFiles(const base::OpenFileRequest& request) {
    m_openRequests.append(request);
    if (m_openAnswers.empty()) {
        return std::nullopt;
    }
    const Answer<QStringList> answer = m_openAnswers.front();
    m_openAnswers.pop_front();
    if (!answer.chosen) {
        return std::nullopt;
    }
    return std::make_optional(answer.value);
}

std::optional<QString> ScriptedFilePicker::saveFile(const base::SaveFileRequest& request) {
    m_saveRequests.append(request);
    if (m_saveAnswers.empty()) {
        return std::nullopt;
    }
    const Answer<QString> answer = m_saveAnswers.front();
    m_saveAnswers.pop_front();
    if (!answer.chosen) {
        return std::nullopt;
    }
    if (request.chosenFilter != nullptr) {
        *request.chosenFilter = answer.filter > 0 ? answer.filter : request.selectedFilter;
    }
    return std::make_optional(answer.value);
}

std::optional<QString> ScriptedFilePicker::chooseFolder(const base::FolderRequest& request) {
    m_folderRequests.append(request);
    if (m_folderAnswers.empty()) {
        return std::nullopt;
    }
    const Answer<QString> answer = m_folderAnswers.front();
    m_folderAnswers.pop_front();
    return std::make_optional(answer.value);
}

}  // namespace widgets::testing
