#pragma once

#include <cstdint>

#include "CodeSetHolder.h"

// Exit codes of okctool.
constexpr int kExitOk = 0;
constexpr int kExitUsage = 1;
constexpr int kExitLoadFailed = 2;
constexpr int kExitDecodeStopped = 3;

// Each command takes a loaded holder and returns the exit code.
int RunDump(const CodeSetHolder& holder);
int RunDecode(CodeSetHolder& holder, unsigned flags);
int RunEncode(CodeSetHolder& holder, unsigned flags);
int RunRtf(CodeSetHolder& holder, unsigned flags, std::uint16_t languageId);
