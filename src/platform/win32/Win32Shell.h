#pragma once

#include <optional>

#include "platform/PlatformKind.h"
#include "platform/Shell.h"
#include "platform/win32/WaitCursor.h"

// The system as Win32 offers it.
class Win32Shell : public Shell {
public:
    unsigned short SystemLanguageId() override;

    bool IsDirectory(const std::string& path) override;
    bool MakeDirectory(const std::string& path) override;
    std::unique_ptr<OutputFile> CreateNewOutputFile(const std::string& path) override;
    bool RenameReplacing(const std::string& from, const std::string& to) override;
    bool RemoveFile(const std::string& path) override;
    bool OpenWithAssociatedProgram(const std::string& path, unsigned& error) override;
    unsigned LastError() override;
    std::string SystemErrorText(unsigned error) override;
    void ShowWaitCursor(bool on) override;

private:
    std::optional<WaitCursor> waitCursor;
};

// GetVersion read as a platform family; version receives the raw value when given.
PlatformKind GetPlatformKind(unsigned long* version = nullptr);
