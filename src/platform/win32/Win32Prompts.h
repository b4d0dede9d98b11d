#pragma once

#include <functional>
#include <utility>

#include "platform/Prompts.h"

// Prompts as real modal boxes captioned with the application title.
class Win32Prompts : public Prompts {
public:
    // Shows the save image dialog; set by start-up (the dialog lives in the image layer).
    using SaveImageHandler = std::function<bool(SaveImageChoice&)>;

    void Message(const std::string& text, PromptIcon icon) override;
    // Without a handler nothing is shown and the answer is Cancel (false).
    bool AskSaveImage(SaveImageChoice& choice) override;

    void SetSaveImageHandler(SaveImageHandler handler) { saveImageHandler = std::move(handler); }

private:
    SaveImageHandler saveImageHandler;
};
