#pragma once

// The family of the Windows platform, from the value GetVersion gives.
enum class PlatformKind { WindowsNt = 1, Win32s = 2, Windows9x = 3 };

inline PlatformKind PlatformKindFromVersion(unsigned long version) {
    if (version < 0x80000000ul)
        return PlatformKind::WindowsNt;
    return (version & 0xFF) < 4 ? PlatformKind::Win32s : PlatformKind::Windows9x;
}
