#include "TestPaths.h"

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/OpenStdioFile.h"

#ifdef _WIN32
#include <direct.h>
#include <process.h>
#else
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {

std::string Native(std::string path) {
#ifdef _WIN32
    // The build machine's absolute paths are reached through Wine's drive Z:.
    for (char& c : path) {
        if (c == '/')
            c = '\\';
    }
    if (!path.empty() && path[0] == '\\')
        path = "Z:" + path;
#endif
    return path;
}

int MakeDir(const std::string& path) {
#ifdef _WIN32
    return _mkdir(path.c_str());
#else
    return mkdir(path.c_str(), 0777);
#endif
}

int ProcessId() {
#ifdef _WIN32
    return _getpid();
#else
    return getpid();
#endif
}

}  // namespace

std::string SourcePath(const std::string& relative) {
    return Native(std::string(PEL_SOURCE_DIR) + "/" + relative);
}

std::string DataDirectoryForTests() {
    std::string dir = SourcePath("data");
#ifdef _WIN32
    return dir + "\\";
#else
    return dir + "/";
#endif
}

std::string MakeTempDirectory(const std::string& tag) {
    static std::atomic<int> serial{0};
    std::string base = Native(std::string(PEL_TEST_TMP_DIR));
    MakeDir(base);
    // Native("/") would turn a lone separator into "Z:\\".
#ifdef _WIN32
    const std::string separator = "\\";
#else
    const std::string separator = "/";
#endif
    // Process ids repeat between runs (under Wine they are small): skip folders that exist.
    std::string dir;
    do {
        dir = base + (base.back() == '/' || base.back() == '\\' ? "" : separator) + tag + "-" +
              std::to_string(ProcessId()) + "-" + std::to_string(serial++);
    } while (MakeDir(dir) != 0 && errno == EEXIST);
    return dir + separator;
}

bool WriteFileBytes(const std::string& path, const std::string& bytes) {
    std::FILE* f = OpenStdioFile(path, "wb");
    if (!f)
        return false;
    bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    return std::fclose(f) == 0 && ok;
}

std::string ReadFileBytes(const std::string& path) {
    std::string out;
    std::FILE* f = OpenStdioFile(path, "rb");
    if (!f)
        return out;
    char buf[65536];
    std::size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, f)) > 0)
        out.append(buf, n);
    std::fclose(f);
    return out;
}
