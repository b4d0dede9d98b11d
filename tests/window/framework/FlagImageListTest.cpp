#include <gtest/gtest.h>

#include "LocaleTestTable.h"
#include "WindowTestSupport.h"
#include "locale/FlagImageList.h"

namespace {

TEST(FlagImageListTest, EachLocaleGetsItsOwnImageInTableOrder) {
    LocaleTable table;
    AddLocale(table, "EN-US", "ENU", "US", 0x0409, "windows-1252", "FLG_US", "en-US");
    AddLocale(table, "EN-GB", "ENG", "GB", 0x0809, "windows-1252", "FLG_GB", "en-GB");
    AddLocale(table, "CY-GB", "CYM", "Welsh", 0x0452, "windows-1252", "FLG_GB", "cy-GB");
    AddLocale(table, "XX-XX", "XXX", "None", 0x0001, "windows-1252", "FLG_NOPE", "xx");
    AddLocale(table, "FR-CM", "FRC", "Cameroon", 0x2c0c, "windows-1252", "FLG_CM", "fr-CM");
    FlagImageList flags;
    ASSERT_TRUE(BuildFlagImageList(table, flags));

    EXPECT_EQ(table.GetFlagImage(0), 0);
    EXPECT_EQ(table.GetFlagImage(1), 1);
    EXPECT_EQ(table.GetFlagImage(2), 2);  // the same flag again: a second copy
    EXPECT_EQ(table.GetFlagImage(3), -1);
    EXPECT_EQ(table.GetFlagImage(4), 3);
    EXPECT_EQ(flags.GetImageCount(), 4);
    int width = 0;
    int height = 0;
    ASSERT_TRUE(ImageList_GetIconSize(flags.GetHandle(), &width, &height));
    EXPECT_EQ(width, 23);
    EXPECT_EQ(height, 15);
}

// Every pixel of an image equals the bitmap resource's pixel at the same place (the
// top-left part for the larger flags).
void ExpectImageShowsBitmap(HIMAGELIST list, int image, const char* name) {
    Surface drawn(23, 15);
    ASSERT_TRUE(ImageList_Draw(list, image, drawn.dc, 0, 0, ILD_NORMAL));
    HBITMAP bitmap = ::LoadBitmapA(::GetModuleHandleA(nullptr), name);
    ASSERT_NE(bitmap, nullptr) << name;
    Surface source(23, 15);
    HDC bitmapDc = ::CreateCompatibleDC(nullptr);
    HGDIOBJ old = ::SelectObject(bitmapDc, bitmap);
    ::BitBlt(source.dc, 0, 0, 23, 15, bitmapDc, 0, 0, SRCCOPY);
    ::SelectObject(bitmapDc, old);
    ::DeleteDC(bitmapDc);
    ::DeleteObject(bitmap);
    int differing = 0;
    for (int y = 0; y < 15; ++y) {
        for (int x = 0; x < 23; ++x) {
            differing += drawn.At(x, y) != source.At(x, y);
        }
    }
    EXPECT_EQ(differing, 0) << name;
}

TEST(FlagImageListTest, ImagesHoldTheFlagPixels) {
    LocaleTable table;
    AddLocale(table, "EN-US", "ENU", "US", 0x0409, "windows-1252", "FLG_US", "en-US");
    AddLocale(table, "FR-CM", "FRC", "Cameroon", 0x2c0c, "windows-1252", "FLG_CM", "fr-CM");
    AddLocale(table, "NL-SR", "NLS", "Suriname", 0x0413, "windows-1252", "FLG_SR", "nl-SR");
    FlagImageList flags;
    ASSERT_TRUE(BuildFlagImageList(table, flags));
    ExpectImageShowsBitmap(flags.GetHandle(), 0, "FLG_US");
    ExpectImageShowsBitmap(flags.GetHandle(), 1, "FLG_CM");
    ExpectImageShowsBitmap(flags.GetHandle(), 2, "FLG_SR");
}

}  // namespace
