#pragma once

// Integer results shared by the whole code set subsystem. Nothing here shows messages;
// callers decide what to tell the user.
constexpr int CodeSetOk = 0;
constexpr int CodeSetNotSupported = 1;
constexpr int CodeSetOpenFailed = 10001;
constexpr int CodeSetBadMagicLength = 10002;
constexpr int CodeSetBadMagic = 10003;
constexpr int CodeSetBadKind = 10004;
constexpr int CodeSetTruncated = 10005;
constexpr int CodeSetUndefined = 10006;
constexpr int CodeSetNotRepresentable = 10007;
constexpr int CodeSetOutOfRange = 10008;
constexpr int CodeSetBadEntity = 10009;

// The constant's name for a result ("CodeSetBadMagic"), "success" for 0, "unknown" otherwise.
const char* CodeSetResultName(int result);
