#pragma once

#include "platform/Prompts.h"

// Passes every prompt on and counts the ones being shown, so that code entered from a box's
// modal loop (a clipboard notification, for one) can tell that a box is open.
class CountedPrompts : public Prompts {
public:
    explicit CountedPrompts(Prompts& shown) : shown(shown) {}

    void Message(const std::string& text, PromptIcon icon) override {
        Showing showing(*this);
        shown.Message(text, icon);
    }
    bool AskSaveImage(SaveImageChoice& choice) override {
        Showing showing(*this);
        return shown.AskSaveImage(choice);
    }

    bool AnyShown() const { return open > 0; }

    // Counts a box of the caller's own (the About box) for as long as it lives.
    class Showing {
    public:
        explicit Showing(CountedPrompts& prompts) : prompts(prompts) { ++prompts.open; }
        ~Showing() { --prompts.open; }
        Showing(const Showing&) = delete;
        Showing& operator=(const Showing&) = delete;

    private:
        CountedPrompts& prompts;
    };

private:
    Prompts& shown;
    int open = 0;
};
