#pragma once

#include <QList>

#include <deque>

#include "base/ports/prompt_port.h"

namespace widgets::testing {

// A prompt for tests: records every request (nothing is shown) and answers from a queue of
// scripted answers; when the queue is empty an Ok box answers Ok, a Yes/No box No and a
// Save / Discard / Cancel box Cancel.
class ScriptedPrompt : public base::PromptPort {
  public:
    base::PromptAnswer show(const base::PromptRequest& request) override;

    void queueAnswer(base::PromptAnswer answer) { m_answers.push_back(answer); }
    const QList<base::PromptRequest>& requests() const { return m_requests; }
    // The text of every box shown, in order.
    QStringList texts() const;
    void clear();

  private:
    QList<base::PromptRequest> m_requests;
    std::deque<base::PromptAnswer> m_answers;
};

}  // namespace widgets::testing
