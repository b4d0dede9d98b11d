#include <gtest/gtest.h>

#include <limits>

#include "DibBuilder.h"
#include "image/DibLayout.h"

namespace {

DibCheck Check(const std::string& block, DibLayout& layout) {
    return ComputeDibLayout(reinterpret_cast<const unsigned char*>(block.data()), block.size(),
                            layout);
}

DibCheck Check(const std::string& block) {
    DibLayout layout;
    return Check(block, layout);
}

TEST(DibLayout, Uncompressed24BitThreeByTwo) {
    std::string block = InfoHeader(3, 2, 24, 0, 0, 0) + std::string(24, '\x7f');
    DibLayout layout;
    ASSERT_EQ(Check(block, layout), DibCheck::Ok);
    EXPECT_EQ(layout.colorTableSize, 0u);
    EXPECT_EQ(layout.rowSize, 12u);
    EXPECT_EQ(layout.pixelSize, 24u);
    EXPECT_EQ(layout.FileSize(), 78u);
    EXPECT_EQ(layout.PixelOffset(), 54u);
}

TEST(DibLayout, ColourTableFollowsBitCountOrClrUsed) {
    DibLayout layout;
    std::string full = InfoHeader(4, 1, 8, 0, 0, 0) + std::string(1024 + 4, '\0');
    ASSERT_EQ(Check(full, layout), DibCheck::Ok);
    EXPECT_EQ(layout.colorTableSize, 1024u);
    EXPECT_EQ(layout.PixelOffset(), 1078u);

    std::string used = InfoHeader(4, 1, 8, 0, 0, 17) + std::string(68 + 4, '\0');
    ASSERT_EQ(Check(used, layout), DibCheck::Ok);
    EXPECT_EQ(layout.colorTableSize, 68u);
    EXPECT_EQ(layout.PixelOffset(), 122u);

    std::string mono = InfoHeader(33, 2, 1, 0, 0, 0) + std::string(8 + 16, '\0');
    ASSERT_EQ(Check(mono, layout), DibCheck::Ok);
    EXPECT_EQ(layout.colorTableSize, 8u);
    EXPECT_EQ(layout.rowSize, 8u);  // 33 bits padded to two 32-bit words

    std::string nibbles = InfoHeader(1, 1, 4, 0, 0, 0) + std::string(64 + 4, '\0');
    ASSERT_EQ(Check(nibbles, layout), DibCheck::Ok);
    EXPECT_EQ(layout.colorTableSize, 64u);
}

TEST(DibLayout, ColourTableBeyondSixteenBitsIsNotCut) {
    // 16400 colours take 65600 bytes, more than a 16-bit size holds.
    std::string block = InfoHeader(1, 1, 8, 0, 0, 16400) + std::string(65600 + 4, '\0');
    DibLayout layout;
    ASSERT_EQ(Check(block, layout), DibCheck::Ok);
    EXPECT_EQ(layout.colorTableSize, 65600u);
    EXPECT_EQ(layout.dibSize, block.size());
}

TEST(DibLayout, RunLengthPixelsComeFromSizeImage) {
    DibLayout layout;
    std::string rle8 = InfoHeader(100, 50, 8, 1, 37, 2) + std::string(8 + 37, '\0');
    ASSERT_EQ(Check(rle8, layout), DibCheck::Ok);
    EXPECT_EQ(layout.pixelSize, 37u);
    EXPECT_EQ(layout.dibSize, 40u + 8 + 37);

    std::string rle4 = InfoHeader(100, 50, 4, 2, 11, 0) + std::string(64 + 11 + 5, '\0');
    ASSERT_EQ(Check(rle4, layout), DibCheck::Ok);
    EXPECT_EQ(layout.pixelSize, 11u);
    EXPECT_EQ(layout.dibSize, 40u + 64 + 11);  // the slack at the end is not part of it
}

TEST(DibLayout, BitFieldMasksCountInTheOffset) {
    std::string block = InfoHeader(2, 2, 16, 3, 0, 0) + std::string(12 + 8, '\0');
    DibLayout layout;
    ASSERT_EQ(Check(block, layout), DibCheck::Ok);
    EXPECT_EQ(layout.colorTableSize, 12u);
    EXPECT_EQ(layout.PixelOffset(), 14u + 40 + 12);
    EXPECT_EQ(layout.FileSize(), 14u + 40 + 12 + 8);
}

TEST(DibLayout, TopDownHeightGivesPositiveRows) {
    std::string block = InfoHeader(3, -2, 24, 0, 0, 0) + std::string(24, '\0');
    DibLayout layout;
    ASSERT_EQ(Check(block, layout), DibCheck::Ok);
    EXPECT_TRUE(layout.topDown);
    EXPECT_EQ(layout.rows, 2u);
    EXPECT_EQ(layout.pixelSize, 24u);
}

TEST(DibLayout, RefusesHeadersThatClaimMoreThanTheBlock) {
    // One byte short of the pixels.
    EXPECT_EQ(Check(InfoHeader(3, 2, 24, 0, 0, 0) + std::string(23, '\0')), DibCheck::BeyondBlock);
    // A huge height, also as the most negative value.
    EXPECT_EQ(Check(InfoHeader(3, 0x7FFFFFFF, 24, 0, 0, 0) + std::string(24, '\0')),
              DibCheck::BeyondBlock);
    EXPECT_EQ(Check(InfoHeader(3, std::numeric_limits<std::int32_t>::min(), 24, 0, 0, 0) +
                    std::string(24, '\0')),
              DibCheck::BeyondBlock);
    // Width and bit count whose product overflows 32 bits.
    EXPECT_EQ(Check(InfoHeader(0x7FFFFFFF, 0x7FFFFFFF, 0xFFFF, 0, 0, 0) + std::string(64, '\0')),
              DibCheck::BeyondBlock);
    // A run-length size larger than the block.
    EXPECT_EQ(Check(InfoHeader(4, 4, 8, 1, 0xFFFFFFF0u, 1) + std::string(4 + 100, '\0')),
              DibCheck::BeyondBlock);
    // A colour count larger than the block, also one whose byte size overflows 32 bits.
    EXPECT_EQ(Check(InfoHeader(1, 1, 8, 0, 0, 300) + std::string(1024 + 4, '\0')),
              DibCheck::BeyondBlock);
    EXPECT_EQ(Check(InfoHeader(1, 1, 8, 0, 0, 0xFFFFFFFFu) + std::string(64, '\0')),
              DibCheck::BeyondBlock);
    // The masks of a bit-field DIB missing.
    EXPECT_EQ(Check(InfoHeader(1, 1, 32, 3, 0, 0) + std::string(8, '\0')), DibCheck::BeyondBlock);
}

TEST(DibLayout, RefusesBlocksThatAreNoWritableDib) {
    EXPECT_EQ(Check(std::string()), DibCheck::TooShort);
    EXPECT_EQ(Check(std::string("\x28\0\0", 3)), DibCheck::TooShort);
    EXPECT_EQ(Check(InfoHeader(1, 1, 24, 0, 0, 0).substr(0, 39)), DibCheck::TooShort);

    std::string v5 = InfoHeader(1, 1, 24, 0, 0, 0) + std::string(100, '\0');
    PutLe32(v5, 0, 124);
    EXPECT_EQ(Check(v5), DibCheck::HeaderSize);
    std::string core = v5;
    PutLe32(core, 0, 12);
    EXPECT_EQ(Check(core), DibCheck::HeaderSize);

    const std::string room(64, '\0');
    EXPECT_EQ(Check(InfoHeader(0, 1, 24, 0, 0, 0) + room), DibCheck::NoImage);
    EXPECT_EQ(Check(InfoHeader(-3, 1, 24, 0, 0, 0) + room), DibCheck::NoImage);
    EXPECT_EQ(Check(InfoHeader(3, 0, 24, 0, 0, 0) + room), DibCheck::NoImage);
    EXPECT_EQ(Check(InfoHeader(3, 1, 0, 0, 0, 0) + room), DibCheck::NoImage);
    EXPECT_EQ(Check(InfoHeader(4, 4, 8, 1, 0, 1) + room), DibCheck::NoImage);
    EXPECT_EQ(Check(InfoHeader(4, -4, 8, 1, 8, 1) + room), DibCheck::NoImage);

    // JPEG, PNG and the rest carry their own stream: a block big enough for uncompressed
    // rows is still refused, as are the values above them.
    for (std::uint32_t compression : {4u, 5u, 6u, 11u, 0x7FFFFFFFu, 0xFFFFFFFFu}) {
        EXPECT_EQ(Check(InfoHeader(2, 2, 24, compression, 16, 0) + room), DibCheck::Compression)
            << compression;
    }
}

}  // namespace

namespace {

TEST(DibLayout, RefusesAFileBeyondFourGigabytes) {
    if (sizeof(std::size_t) < 8)
        GTEST_SKIP() << "needs a 64-bit size";
    // Only the header is read; the claimed block size is what the check works on.
    std::string header = InfoHeader(65536, 16385, 32, 0, 0, 0);
    DibLayout layout;
    std::size_t claimed = std::size_t(40) + std::size_t(65536) * 4 * 16385;
    EXPECT_EQ(
        ComputeDibLayout(reinterpret_cast<const unsigned char*>(header.data()), claimed, layout),
        DibCheck::TooLarge);
}

}  // namespace
