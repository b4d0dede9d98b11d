#include <gtest/gtest.h>

#include "PlatformKind.h"

namespace {

TEST(PlatformKind, FromTheVersionValue) {
    EXPECT_EQ(PlatformKindFromVersion(0x23F00206ul), PlatformKind::WindowsNt);  // 6.2, NT
    EXPECT_EQ(PlatformKindFromVersion(0x7FFFFFFFul), PlatformKind::WindowsNt);
    EXPECT_EQ(PlatformKindFromVersion(0x80000003ul), PlatformKind::Win32s);
    EXPECT_EQ(PlatformKindFromVersion(0xC0000A04ul), PlatformKind::Windows9x);  // 4.10
}

}  // namespace
