#include "platform/win32/Win32Shell.h"

#include <windows.h>
#include <shellapi.h>

#include <cstdio>
#include <vector>

#include "platform/win32/Dialog.h"
#include "platform/win32/WinApp.h"

namespace {

class Win32OutputFile : public OutputFile {
public:
    explicit Win32OutputFile(HANDLE file) : file(file) {}
    ~Win32OutputFile() override { Close(); }

    bool Write(const void* data, std::size_t size) override {
        const char* bytes = static_cast<const char*>(data);
        while (size > 0) {
            DWORD chunk = size > 0x40000000u ? 0x40000000u : static_cast<DWORD>(size);
            DWORD written = 0;
            if (file == INVALID_HANDLE_VALUE ||
                !::WriteFile(file, bytes, chunk, &written, nullptr) || written != chunk) {
                return false;
            }
            bytes += chunk;
            size -= chunk;
        }
        return true;
    }

    bool Close() override {
        if (file == INVALID_HANDLE_VALUE)
            return true;
        bool ok = ::FlushFileBuffers(file) != FALSE;
        ok = ::CloseHandle(file) != FALSE && ok;
        file = INVALID_HANDLE_VALUE;
        return ok;
    }

private:
    HANDLE file;
};

HWND MainWindow() {
    WinApp* app = WinApp::Current();
    return app != nullptr && app->mainWindow != nullptr ? app->mainWindow->GetSafeHwnd() : nullptr;
}

}  // namespace

PlatformKind GetPlatformKind(unsigned long* version) {
    // GetVersion is deprecated but is the value the platform families are told apart by.
#ifdef _MSC_VER
#pragma warning(suppress : 4996)
#endif
    DWORD value = ::GetVersion();
    if (version != nullptr)
        *version = value;
    return PlatformKindFromVersion(value);
}

unsigned short Win32Shell::SystemLanguageId() {
    return ::GetSystemDefaultLangID();
}

bool Win32Shell::IsDirectory(const std::string& path) {
    DWORD attributes = ::GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool Win32Shell::MakeDirectory(const std::string& path) {
    return ::CreateDirectoryA(path.c_str(), nullptr) != FALSE;
}

std::unique_ptr<OutputFile> Win32Shell::CreateNewOutputFile(const std::string& path) {
    HANDLE file = ::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return nullptr;
    return std::unique_ptr<OutputFile>(new Win32OutputFile(file));
}

bool Win32Shell::RenameReplacing(const std::string& from, const std::string& to) {
    return ::MoveFileExA(from.c_str(), to.c_str(),
                         MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != FALSE;
}

bool Win32Shell::RemoveFile(const std::string& path) {
    return ::DeleteFileA(path.c_str()) != FALSE;
}

bool Win32Shell::OpenWithAssociatedProgram(const std::string& path, unsigned& error) {
    error = 0;
    if (GetPlatformKind() == PlatformKind::WindowsNt) {
        HINSTANCE result =
            ::ShellExecuteA(MainWindow(), "open", path.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
        if (reinterpret_cast<INT_PTR>(result) > 32)
            return true;
        error = ::GetLastError();
        return false;
    }
    // Without ShellExecute the start command finds the associated program.
    std::vector<char> commandLine(path.size() + 16);
    std::snprintf(commandLine.data(), commandLine.size(), "start \"%s\"", path.c_str());
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_HIDE;
    PROCESS_INFORMATION process = {};
    if (!::CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE,
                          NORMAL_PRIORITY_CLASS, nullptr, nullptr, &startup, &process)) {
        error = ::GetLastError();
        return false;
    }
    ::CloseHandle(process.hThread);
    ::CloseHandle(process.hProcess);
    return true;
}

unsigned Win32Shell::LastError() {
    return ::GetLastError();
}

std::string Win32Shell::SystemErrorText(unsigned error) {
    char* buffer = nullptr;
    DWORD length = ::FormatMessageA(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, error, MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT), reinterpret_cast<char*>(&buffer),
        0, nullptr);
    std::string text = buffer != nullptr ? std::string(buffer, length) : std::string();
    if (buffer != nullptr)
        ::LocalFree(buffer);
    return text;
}

void Win32Shell::ShowWaitCursor(bool on) {
    if (on) {
        waitCursor.emplace();
    } else {
        waitCursor.reset();
    }
}
