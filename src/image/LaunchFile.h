#pragma once

#include <string>

class Prompts;
class Shell;

// Shows the system's text for an error code (0: the last error) in a box with an OK button.
void ShowSystemError(Shell& shell, Prompts& prompts, unsigned error);

// Opens a file with the program associated with it; on failure shows the system's text for
// the error and gives false.
bool LaunchFile(Shell& shell, Prompts& prompts, const std::string& path);
