#pragma once

#include <string>

// Icons of a message box, the platform's MB_ICON values.
enum class PromptIcon : unsigned {
    None = 0,
    Error = 0x10,
    Question = 0x20,
    Exclamation = 0x30,
    Information = 0x40,
};

// The values the save image dialog shows and gives back.
struct SaveImageChoice {
    std::string fileName;  // UTF-8
    bool saveImages = false;
    bool launchEditor = false;
};

// Everything the program asks or tells the user. The Win32 implementation shows modal
// boxes captioned "Pelimbrance"; tests record the calls and script the answers.
class Prompts {
public:
    virtual ~Prompts() = default;

    // A message box with an OK button.
    virtual void Message(const std::string& text, PromptIcon icon) = 0;
    // The save image dialog; choice is read back whatever the answer. true = "&Save".
    virtual bool AskSaveImage(SaveImageChoice& choice) = 0;
};
