#include "CodeSetFiles.h"

#include "TestPaths.h"

std::string WriteCodeSetFile(const std::string& dir, const std::string& base,
                             const std::string& bytes) {
    std::string path = dir + base + ".okc";
    WriteFileBytes(path, bytes);
    return path;
}

std::string WriteCodeSetFile(const std::string& dir, const std::string& base,
                             const CodeSetFileContent& content) {
    return WriteCodeSetFile(dir, base, SerializeCodeSetFile(content));
}
