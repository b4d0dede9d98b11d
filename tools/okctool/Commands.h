#pragma once

#include <cstdint>
#include <string>

#include "codeset/CodeSetHolder.h"

// Exit codes of okctool.
constexpr int kExitOk = 0;
constexpr int kExitUsage = 1;
constexpr int kExitLoadFailed = 2;
constexpr int kExitDecodeStopped = 3;
constexpr int kExitIoFailed = 4;

// Where a converting command reads and writes ("" or "-": standard input / output), and how.
struct ConvertOptions {
    std::string input;
    std::string output;
    unsigned flags = 0;
    std::uint16_t languageId = 1033;
};

// Each command returns the exit code.
int RunDump(const CodeSetHolder& holder);
int RunDecode(CodeSetHolder& holder, const ConvertOptions& options);
int RunEncode(CodeSetHolder& holder, const ConvertOptions& options);
int RunRtf(CodeSetHolder& holder, const ConvertOptions& options);
int RunList(const std::string& directory);

// Bytes read and converted per block when streaming.
constexpr std::size_t kStreamBlock = 64 * 1024;
