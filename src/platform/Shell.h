#pragma once

#include <cstddef>
#include <memory>
#include <string>

// A file being written. Destroying it without Close closes it too.
class OutputFile {
public:
    virtual ~OutputFile() = default;

    // false when not all bytes could be written.
    virtual bool Write(const void* data, std::size_t size) = 0;
    // Flushes and closes; false when the file's contents may be incomplete.
    virtual bool Close() = 0;
};

// The system around the program: its language, files and directories, launching files.
// The Win32 implementation calls the platform; tests use a scripted fake.
class Shell {
public:
    virtual ~Shell() = default;

    // GetSystemDefaultLangID.
    virtual unsigned short SystemLanguageId() = 0;

    // Paths are UTF-8, in the platform's form; on Windows both '\' and '/' separate directories.
    virtual bool IsDirectory(const std::string& path) = 0;
    // Creates one directory whose parent exists; false when it can't (or already exists).
    virtual bool MakeDirectory(const std::string& path) = 0;
    // Creates a new file for writing with exclusive access; null on failure, also when a
    // file of that name exists already.
    virtual std::unique_ptr<OutputFile> CreateNewOutputFile(const std::string& path) = 0;
    // Renames a closed file, replacing a file of the new name.
    virtual bool RenameReplacing(const std::string& from, const std::string& to) = 0;
    virtual bool RemoveFile(const std::string& path) = 0;

    // Opens a file with the program associated with it; on failure error receives the
    // system's error code (0 when there is none).
    virtual bool OpenWithAssociatedProgram(const std::string& path, unsigned& error) = 0;
    // GetLastError.
    virtual unsigned LastError() = 0;
    // The system's message text for an error code; empty when it has none.
    virtual std::string SystemErrorText(unsigned error) = 0;
    // The wait cursor around a long operation; ShellWaitCursor pairs the calls.
    virtual void ShowWaitCursor(bool on) = 0;
};

// Shows the shell's wait cursor for the lifetime of the object.
class ShellWaitCursor {
public:
    explicit ShellWaitCursor(Shell& shell) : shell(shell) { shell.ShowWaitCursor(true); }
    ShellWaitCursor(const ShellWaitCursor&) = delete;
    ShellWaitCursor& operator=(const ShellWaitCursor&) = delete;
    ~ShellWaitCursor() { shell.ShowWaitCursor(false); }

private:
    Shell& shell;
};
