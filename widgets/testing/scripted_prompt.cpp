#include "widgets/testing/scripted_prompt.h"

#include <QStringList>

namespace widgets::testing {

base::PromptAnswer ScriptedPrompt::show(const base::PromptRequest& request) {
    m_requests.append(request);
    if (!m_answers.empty()) {
        const base::PromptAnswer answer = m_answers.front();
        m_answers.pop_front();
        return answer;
    }
    switch (request.buttons) {
        case base::PromptButtons::YesNo:
            return base::PromptAnswer::No;
        case base::PromptButtons::SaveDiscardCancel:
            return base::PromptAnswer::Cancel;
        case base::PromptButtons::Ok:
            break;
    }
    return base::PromptAnswer::Ok;
}

QStringList ScriptedPrompt::texts() const {
    QStringList result;
    for (const base::PromptRequest& request : m_requests) {
        result << request.text;
    }
    return result;
}

void ScriptedPrompt::clear() {
    m_requests.clear();
    m_answers.clear();
}

}  // namespace widgets::testing
