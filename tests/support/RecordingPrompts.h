#pragma once

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "platform/Prompts.h"

// Prompts for tests: records every message and every save image question, and answers the
// questions from a script (in order; when the script is used up, the question is
// cancelled with the values left as shown).
class RecordingPrompts : public Prompts {
public:
    struct MessageCall {
        std::string text;
        PromptIcon icon = PromptIcon::None;
    };
    // Changes the shown values as the user would and returns true for "&Save".
    using SaveImageAnswer = std::function<bool(SaveImageChoice&)>;

    void Message(const std::string& text, PromptIcon icon) override;
    bool AskSaveImage(SaveImageChoice& choice) override;

    // Scripted answers to the save image dialog.
    void AnswerSaveImage(SaveImageAnswer answer);
    // Saves (or cancels) with the values as shown.
    void AnswerSaveImage(bool save);
    // Saves (or cancels) after putting these values into the dialog.
    void AnswerSaveImage(bool save, const SaveImageChoice& values);

    // The texts of the recorded messages, in order.
    std::vector<std::string> MessageTexts() const;

    std::vector<MessageCall> messages;
    // The values the dialog showed, one per question.
    std::vector<SaveImageChoice> saveImageQuestions;
    std::deque<SaveImageAnswer> saveImageScript;
    // Called after each recorded message (e.g. to change state while a box is "shown").
    std::function<void(const MessageCall&)> onMessage;
};
