#pragma once

#include <QString>

class QWidget;

namespace base {

// Message boxes go through this port: the programs use QtPrompt (QMessageBox); tests use
// ScriptedPrompt, which records every box and answers from a script.

enum class PromptIcon { None, Information, Warning, Error, Question };
enum class PromptButtons { Ok, YesNo, SaveDiscardCancel };
// SaveDiscardCancel answers Yes for Save, No for Discard and Cancel for Cancel.
enum class PromptAnswer { Ok, Yes, No, Cancel };

struct PromptRequest {
    QString text;
    QString caption;  // empty: the application's name
    PromptIcon icon = PromptIcon::None;
    PromptButtons buttons = PromptButtons::Ok;
    QWidget* owner = nullptr;  // nullptr: a box without owner window
};

class PromptPort {
  public:
    virtual ~PromptPort() = default;
    // Shows the box modally and returns the button pressed (Ok for an Ok box; closing a Yes/No
    // box without a choice answers No, a Save / Discard / Cancel box Cancel).
    virtual PromptAnswer show(const PromptRequest& request) = 0;

    // An Ok box with the given text, caption and icon.
    void tell(const QString& text, const QString& caption = {}, PromptIcon icon = PromptIcon::None,
              QWidget* owner = nullptr) {
        show(PromptRequest{text, caption, icon, PromptButtons::Ok, owner});
    }
};

}  // namespace base
