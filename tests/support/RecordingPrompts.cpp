#include "RecordingPrompts.h"

void RecordingPrompts::Message(const std::string& text, PromptIcon icon) {
    messages.push_back(MessageCall{text, icon});
    if (onMessage) {
        onMessage(messages.back());
    }
}

bool RecordingPrompts::AskSaveImage(SaveImageChoice& choice) {
    saveImageQuestions.push_back(choice);
    if (saveImageScript.empty()) {
        return false;
    }
    SaveImageAnswer answer = std::move(saveImageScript.front());
    saveImageScript.pop_front();
    return answer(choice);
}

void RecordingPrompts::AnswerSaveImage(SaveImageAnswer answer) {
    saveImageScript.push_back(std::move(answer));
}

void RecordingPrompts::AnswerSaveImage(bool save) {
    saveImageScript.push_back([save](SaveImageChoice&) { return save; });
}

void RecordingPrompts::AnswerSaveImage(bool save, const SaveImageChoice& values) {
    saveImageScript.push_back([save, values](SaveImageChoice& choice) {
        choice = values;
        return save;
    });
}

std::vector<std::string> RecordingPrompts::MessageTexts() const {
    std::vector<std::string> texts;
    for (const MessageCall& call : messages) {
        texts.push_back(call.text);
    }
    return texts;
}
