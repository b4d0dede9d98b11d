#include "FakeShell.h"

#include <cstdio>

#ifdef _WIN32
#include <windows.h>
#else
#include <sys/stat.h>
#endif

namespace {

class FakeOutputFile : public OutputFile {
public:
    FakeOutputFile(std::FILE* file, std::size_t limit, bool failClose)
        : file(file), limit(limit), failClose(failClose) {}
    ~FakeOutputFile() override { Close(); }

    bool Write(const void* data, std::size_t size) override {
        if (file == nullptr)
            return false;
        std::size_t room = limit - written;
        std::size_t count = size < room ? size : room;
        written += std::fwrite(data, 1, count, file);
        return count == size;
    }

    bool Close() override {
        if (file == nullptr)
            return true;
        bool ok = std::fclose(file) == 0;
        file = nullptr;
        return ok && !failClose;
    }

private:
    std::FILE* file;
    std::size_t limit;
    bool failClose;
    std::size_t written = 0;
};

}  // namespace

bool FakeShell::IsDirectory(const std::string& path) {
#ifdef _WIN32
    DWORD attributes = ::GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
#else
    struct stat info;
    return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
#endif
}

bool FakeShell::MakeDirectory(const std::string& path) {
    if (failingDirectories.count(path) != 0)
        return false;
#ifdef _WIN32
    bool made = ::CreateDirectoryA(path.c_str(), nullptr) != FALSE;
#else
    bool made = ::mkdir(path.c_str(), 0777) == 0;
#endif
    if (made)
        madeDirectories.push_back(path);
    return made;
}

std::unique_ptr<OutputFile> FakeShell::CreateNewOutputFile(const std::string& path) {
    if (failCreate || path.size() > maxPathLength)
        return nullptr;
    if (std::FILE* existing = std::fopen(path.c_str(), "rb")) {
        std::fclose(existing);
        return nullptr;
    }
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr)
        return nullptr;
    createdFiles.push_back(path);
    return std::unique_ptr<OutputFile>(new FakeOutputFile(file, writeLimit, failClose));
}

bool FakeShell::RenameReplacing(const std::string& from, const std::string& to) {
    if (failRename)
        return false;
#ifdef _WIN32
    return ::MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING) != FALSE;
#else
    return std::rename(from.c_str(), to.c_str()) == 0;
#endif
}

bool FakeShell::RemoveFile(const std::string& path) {
    return std::remove(path.c_str()) == 0;
}

bool FakeShell::OpenWithAssociatedProgram(const std::string& path, unsigned& error) {
    launched.push_back(path);
    error = launchSucceeds ? 0 : launchError;
    return launchSucceeds;
}

std::string FakeShell::SystemErrorText(unsigned error) {
    auto found = errorTexts.find(error);
    return found != errorTexts.end() ? found->second : std::string();
}

void FakeShell::ShowWaitCursor(bool on) {
    waitCursorDepth += on ? 1 : -1;
    if (on)
        ++waitCursorShown;
}
