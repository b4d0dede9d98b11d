#include "platform/win32/Win32Shell.h"

#include <windows.h>
#include <shellapi.h>

#include <vector>

#include "platform/win32/Dialog.h"
#include "platform/win32/WideText.h"
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

// Paths are UTF-8; every call takes them as UTF-16, which names any file.
bool Win32Shell::IsDirectory(const std::string& path) {
    DWORD attributes = ::GetFileAttributesW(Widen(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool Win32Shell::MakeDirectory(const std::string& path) {
    return ::CreateDirectoryW(Widen(path).c_str(), nullptr) != FALSE;
}

std::unique_ptr<OutputFile> Win32Shell::CreateNewOutputFile(const std::string& path) {
    HANDLE file = ::CreateFileW(Widen(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return nullptr;
    return std::unique_ptr<OutputFile>(new Win32OutputFile(file));
}

bool Win32Shell::RenameReplacing(const std::string& from, const std::string& to) {
    return ::MoveFileExW(Widen(from).c_str(), Widen(to).c_str(),
                         MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != FALSE;
}

bool Win32Shell::RemoveFile(const std::string& path) {
    return ::DeleteFileW(Widen(path).c_str()) != FALSE;
}

bool Win32Shell::OpenWithAssociatedProgram(const std::string& path, unsigned& error) {
    error = 0;
    if (GetPlatformKind() == PlatformKind::WindowsNt) {
        HINSTANCE result = ::ShellExecuteW(MainWindow(), L"open", Widen(path).c_str(), nullptr,
                                           nullptr, SW_SHOWNORMAL);
        if (reinterpret_cast<INT_PTR>(result) > 32)
            return true;
        error = ::GetLastError();
        return false;
    }
    // Without ShellExecute the start command finds the associated program.
    const std::wstring command = L"start \"" + Widen(path) + L"\"";
    // CreateProcessW may write into the command line.
    std::vector<wchar_t> commandLine(command.begin(), command.end());
    commandLine.push_back(L'\0');
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_HIDE;
    PROCESS_INFORMATION process = {};
    if (!::CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE,
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
    // Wide, as the message boxes show UTF-8: a system text in another language than the
    // ANSI code page's comes out whole.
    wchar_t* buffer = nullptr;
    DWORD length = ::FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, error, MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT),
        reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    std::string text = buffer != nullptr ? Narrow(buffer, length) : std::string();
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
