#pragma once

#include <cstddef>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "platform/Shell.h"

// A shell for tests: directories and files are real (so that written files can be read
// back), launching and error texts are scripted and recorded, and each file operation can
// be made to fail.
class FakeShell : public Shell {
public:
    unsigned short SystemLanguageId() override { return languageId; }
    bool IsDirectory(const std::string& path) override;
    bool MakeDirectory(const std::string& path) override;
    std::unique_ptr<OutputFile> CreateNewOutputFile(const std::string& path) override;
    bool RenameReplacing(const std::string& from, const std::string& to) override;
    bool RemoveFile(const std::string& path) override;
    bool OpenWithAssociatedProgram(const std::string& path, unsigned& error) override;
    unsigned LastError() override { return lastError; }
    std::string SystemErrorText(unsigned error) override;
    void ShowWaitCursor(bool on) override;

    unsigned short languageId = 0x0409;

    // Faults.
    std::set<std::string> failingDirectories;  // MakeDirectory refuses these paths
    bool failCreate = false;
    // Write refuses bytes beyond this many in one file (after writing up to the limit).
    std::size_t writeLimit = static_cast<std::size_t>(-1);
    bool failClose = false;
    bool failRename = false;
    // Longer paths are refused, as by the system's 8-bit file functions (MAX_PATH - 1).
    std::size_t maxPathLength = 259;

    // Launching.
    bool launchSucceeds = true;
    unsigned launchError = 0;  // given back by a failed launch
    unsigned lastError = 0;
    std::map<unsigned, std::string> errorTexts;

    // What happened.
    std::vector<std::string> madeDirectories;
    std::vector<std::string> createdFiles;  // every path created, removed or not
    std::vector<std::string> launched;
    int waitCursorDepth = 0;
    int waitCursorShown = 0;
};
