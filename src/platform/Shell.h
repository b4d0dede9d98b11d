#pragma once

#include <string>

// The system around the program: its language, files and directories, launching files.
// The Win32 implementation calls the platform; tests use a scripted fake.
class Shell {
public:
    virtual ~Shell() = default;

    // GetSystemDefaultLangID.
    virtual unsigned short SystemLanguageId() = 0;
};
