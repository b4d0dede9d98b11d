#pragma once

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>

#include "codeset/CodeSet.h"

enum CodeSetKind : std::int32_t {
    Utf16Kind = 1,
    Utf8Kind = 2,
    SingleByteKind = 3,
    DoubleByteKind = 4,
};

// Loads a code set table file (.okc) by name or path and owns the resulting CodeSet.
class CodeSetHolder {
public:
    CodeSetHolder() = default;
    CodeSetHolder(const CodeSetHolder&) = delete;
    CodeSetHolder& operator=(const CodeSetHolder&) = delete;
    CodeSetHolder(CodeSetHolder&&) = default;
    CodeSetHolder& operator=(CodeSetHolder&&) = default;
    ~CodeSetHolder() = default;

    // name is a code set name ("windows-1252", looked up in the data directory) or a path.
    CodeSetResult Load(const std::string& name);
    CodeSetResult ReadHeader(std::FILE* file);
    bool HasCodeSet() const { return codeSet != nullptr; }

    std::string name;
    std::string displayName;
    std::string path;
    std::int32_t kind = 0;
    std::unique_ptr<CodeSet> codeSet;
};
