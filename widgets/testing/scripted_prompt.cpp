#include "widgets/testing/scripted_prompt.h"

#include <QStringList>

namespace widgets::testing {

PromptAnswer ScriptedPrompt::show(const PromptRequest& request) {
    m_requests.append(request);
    if (!m_answers.empty()) {
        const PromptAnswer answer = m_answers.front();
        m_answers.pop_front();
        return answer;
    }
    switch (request.buttons) {
        case PromptButtons::YesNo:
            return PromptAnswer::No;
        case PromptButtons::SaveDiscardCancel:
            return PromptAnswer::Cancel;
        case PromptButtons::Ok:
            break;
    }
    return PromptAnswer::Ok;
}

QStringList ScriptedPrompt::texts() const {
    QStringList result;
    for (const PromptRequest& request : m_requests) {
        result << request.text;
    }
    return result;
}

void ScriptedPrompt::clear() {
    m_requests.clear();
    m_answers.clear();
}

}  // namespace widgets::testing
