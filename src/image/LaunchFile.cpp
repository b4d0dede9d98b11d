#include "image/LaunchFile.h"

#include "platform/Prompts.h"
#include "platform/Shell.h"

void ShowSystemError(Shell& shell, Prompts& prompts, unsigned error) {
    if (error == 0)
        error = shell.LastError();
    prompts.Message(shell.SystemErrorText(error), PromptIcon::None);
}

bool LaunchFile(Shell& shell, Prompts& prompts, const std::string& path) {
    unsigned error = 0;
    if (shell.OpenWithAssociatedProgram(path, error))
        return true;
    ShowSystemError(shell, prompts, error);
    return false;
}
