#pragma once

#include <iosfwd>

// The results of the whole code set subsystem. The numbers are the ones files, tests and
// okctool's output know. Nothing here shows messages; callers decide what to tell the user.
enum class CodeSetResult : int {
    Ok = 0,
    NotSupported = 1,
    OpenFailed = 10001,
    BadMagicLength = 10002,
    BadMagic = 10003,
    BadKind = 10004,
    Truncated = 10005,
    Undefined = 10006,
    NotRepresentable = 10007,
    OutOfRange = 10008,
    BadEntity = 10009,
};

// The result's name ("CodeSetBadMagic"), "success" for Ok, "unknown" for any other number.
const char* CodeSetResultName(CodeSetResult result);

// The result's number, for output that shows it.
constexpr int CodeSetResultNumber(CodeSetResult result) {
    return static_cast<int>(result);
}

// Writes the number and the name ("10003 CodeSetBadMagic"): test failures and diagnostics.
std::ostream& operator<<(std::ostream& stream, CodeSetResult result);
