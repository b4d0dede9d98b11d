#include "platform/InMemoryClipboard.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

TEST(InMemoryClipboardTest, RegisteredFormatsAreNumberedFrom0xC000ByName) {
    InMemoryClipboard clipboard;
    const unsigned rtf = clipboard.RegisterFormat("Rich Text Format");
    const unsigned flag = clipboard.RegisterFormat("Pelimbrance Flag");
    EXPECT_EQ(rtf, 0xC000u);
    EXPECT_EQ(flag, 0xC001u);
    // Names are atoms: the case of the letters doesn't make another format.
    EXPECT_EQ(clipboard.RegisterFormat("rich text format"), rtf);
    EXPECT_EQ(clipboard.RegisterFormat("Pelimbrance Flag"), flag);
    EXPECT_EQ(clipboard.RegisterFormat(""), 0u);

    EXPECT_EQ(clipboard.GetFormatName(rtf), "Rich Text Format");
    EXPECT_EQ(clipboard.GetFormatName(ClipboardText), "");
    EXPECT_EQ(clipboard.GetFormatName(0xC0FF), "");

    const unsigned longName = clipboard.RegisterFormat(std::string(300, 'n'));
    EXPECT_EQ(clipboard.GetFormatName(longName), std::string(254, 'n'));
}

TEST(InMemoryClipboardTest, BlocksKeepTheirExactSizeAndReplaceTheSameFormat) {
    InMemoryClipboard clipboard;
    ASSERT_TRUE(clipboard.Open());
    EXPECT_TRUE(clipboard.SetData(ClipboardText, "abc", 3));
    EXPECT_TRUE(clipboard.SetData(ClipboardLocale, "\x09\x04\x09\x04", 4));
    EXPECT_TRUE(clipboard.SetData(ClipboardText, "xy\0z", 4));

    std::string bytes;
    EXPECT_EQ(clipboard.GetData(ClipboardText, bytes), ClipboardRead::Ok);
    EXPECT_EQ(bytes, std::string("xy\0z", 4));
    // A block handed over is kept whole, zero bytes and all.
    EXPECT_TRUE(clipboard.SetOwnedData(ClipboardText, std::string("pq\0\0", 4)));
    EXPECT_EQ(clipboard.GetData(ClipboardText, bytes), ClipboardRead::Ok);
    EXPECT_EQ(bytes, std::string("pq\0\0", 4));
    // Replacing keeps the format's place in the enumeration.
    EXPECT_EQ(clipboard.EnumFormats(0), ClipboardText);
    EXPECT_EQ(clipboard.EnumFormats(ClipboardText), ClipboardLocale);
    EXPECT_EQ(clipboard.EnumFormats(ClipboardLocale), 0u);
    clipboard.Close();

    EXPECT_EQ(clipboard.Formats(), (std::vector<unsigned>{ClipboardText, ClipboardLocale}));
}

TEST(InMemoryClipboardTest, AFormatSetWithNoDataIsAvailableButHasNoHandle) {
    InMemoryClipboard clipboard;
    const unsigned flag = clipboard.RegisterFormat("Pelimbrance Flag");
    ASSERT_TRUE(clipboard.Open());
    EXPECT_TRUE(clipboard.SetNoData(flag));
    std::string bytes = "stale";
    EXPECT_EQ(clipboard.GetData(flag, bytes), ClipboardRead::NoHandle);
    EXPECT_TRUE(bytes.empty());
    clipboard.Close();
    EXPECT_TRUE(clipboard.IsFormatAvailable(flag));
    EXPECT_FALSE(clipboard.HasBlock(flag));
}

TEST(InMemoryClipboardTest, ClosedClipboardAnswersOnlyAvailability) {
    InMemoryClipboard clipboard;
    clipboard.PutFromAnotherProgram({{ClipboardText, std::string("hi\0", 3)}});
    std::string bytes;
    EXPECT_TRUE(clipboard.IsFormatAvailable(ClipboardText));
    EXPECT_EQ(clipboard.GetData(ClipboardText, bytes), ClipboardRead::NoHandle);
    EXPECT_EQ(clipboard.EnumFormats(0), 0u);
    EXPECT_FALSE(clipboard.SetData(ClipboardText, "x", 1));
    EXPECT_FALSE(clipboard.SetOwnedData(ClipboardText, std::string("x")));
    EXPECT_FALSE(clipboard.SetNoData(ClipboardText));
    EXPECT_FALSE(clipboard.Empty());
    EXPECT_EQ(clipboard.Block(ClipboardText), std::string("hi\0", 3));
}

TEST(InMemoryClipboardTest, OnlyACloseAfterAWriteCountsAsAChange) {
    InMemoryClipboard clipboard;
    int notifications = 0;
    clipboard.onChange = [&] { ++notifications; };

    ASSERT_TRUE(clipboard.Open());
    clipboard.Close();
    EXPECT_EQ(clipboard.ChangeCount(), 0u);

    ASSERT_TRUE(clipboard.Open());
    ASSERT_TRUE(clipboard.SetData(ClipboardText, "a", 2));
    EXPECT_EQ(clipboard.ChangeCount(), 0u);  // not before the close
    clipboard.Close();
    EXPECT_EQ(clipboard.ChangeCount(), 1u);
    EXPECT_EQ(notifications, 1);

    clipboard.Close();  // a second close of a closed clipboard changes nothing
    EXPECT_EQ(clipboard.ChangeCount(), 1u);

    ASSERT_TRUE(clipboard.Open());
    ASSERT_TRUE(clipboard.Empty());
    clipboard.Close();
    EXPECT_EQ(clipboard.ChangeCount(), 2u);
    EXPECT_TRUE(clipboard.Formats().empty());

    clipboard.PutBlockFromAnotherProgram(ClipboardDib, "BM");
    EXPECT_EQ(clipboard.ChangeCount(), 3u);
    EXPECT_EQ(notifications, 3);
    EXPECT_EQ(clipboard.OpenCount(), 3u);
}

TEST(InMemoryClipboardTest, AnotherProgramCanHoldTheClipboard) {
    InMemoryClipboard clipboard;
    clipboard.SetHeldByAnotherProgram(true);
    EXPECT_FALSE(clipboard.Open());
    EXPECT_FALSE(clipboard.IsOpen());
    clipboard.SetHeldByAnotherProgram(false);
    EXPECT_TRUE(clipboard.Open());
    EXPECT_TRUE(clipboard.IsOpen());
    // Opening it again before closing is a fault of the caller, refused and counted.
    EXPECT_FALSE(clipboard.Open());
    EXPECT_EQ(clipboard.NestedOpens(), 1u);
    EXPECT_EQ(clipboard.OpenCount(), 1u);
    clipboard.Close();
    EXPECT_FALSE(clipboard.IsOpen());
}

TEST(InMemoryClipboardTest, SimulatedFaultsAffectOnlyTheirFormat) {
    InMemoryClipboard clipboard;
    clipboard.PutFromAnotherProgram({{ClipboardText, "a"}, {ClipboardUnicodeText, "b"}});
    clipboard.FailAllocation(ClipboardText);
    clipboard.SetReadFault(ClipboardUnicodeText, ClipboardRead::LockFailed);

    ASSERT_TRUE(clipboard.Open());
    std::string bytes;
    EXPECT_FALSE(clipboard.SetData(ClipboardText, "new", 4));
    EXPECT_FALSE(clipboard.SetOwnedData(ClipboardText, std::string("new")));
    EXPECT_EQ(clipboard.GetData(ClipboardText, bytes), ClipboardRead::Ok);
    EXPECT_EQ(bytes, "a");
    EXPECT_EQ(clipboard.GetData(ClipboardUnicodeText, bytes), ClipboardRead::LockFailed);
    clipboard.SetReadFault(ClipboardUnicodeText, ClipboardRead::NoHandle);
    EXPECT_EQ(clipboard.GetData(ClipboardUnicodeText, bytes), ClipboardRead::NoHandle);
    clipboard.SetReadFault(ClipboardUnicodeText, ClipboardRead::Ok);
    EXPECT_EQ(clipboard.GetData(ClipboardUnicodeText, bytes), ClipboardRead::Ok);
    EXPECT_TRUE(clipboard.SetData(ClipboardLocale, "1234", 4));
    clipboard.Close();
    EXPECT_EQ(clipboard.ChangeCount(), 2u);
}

}  // namespace
