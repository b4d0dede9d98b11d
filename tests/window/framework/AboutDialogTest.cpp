#include <gtest/gtest.h>

#include <string>

#include "WindowTestSupport.h"
#include "resource.h"
#include "viewer/AboutDialog.h"

namespace {

struct AboutTexts {
    std::string caption;
    std::string productLine;
    std::string editionLine;
    LOGFONTA productFont = {};
};

AboutTexts ReadAbout(HWND dialog) {
    AboutTexts texts;
    texts.caption = WindowText(dialog);
    texts.productLine = WindowText(::GetDlgItem(dialog, IDC_PRODUCT_LINE));
    texts.editionLine = WindowText(::GetDlgItem(dialog, IDC_EDITION_LINE));
    HFONT font = reinterpret_cast<HFONT>(
        ::SendMessageA(::GetDlgItem(dialog, IDC_PRODUCT_LINE), WM_GETFONT, 0, 0));
    if (font != nullptr) {
        ::GetObjectA(font, sizeof texts.productFont, &texts.productFont);
    }
    return texts;
}

// Runs the About box modally and reads it while it is shown; OK ends it.
AboutTexts ShowAboutOnce(INT_PTR& result) {
    AboutTexts texts;
    AboutDialog about;
    RunWhenReady([] { return FindOwnWindow("About Pelimbrance") != nullptr; },
                 [&] {
                     HWND box = FindOwnWindow("About Pelimbrance");
                     texts = ReadAbout(box);
                     ::SendMessageA(::GetDlgItem(box, IDOK), BM_CLICK, 0, 0);
                 },
                 [&] { about.EndDialog(-2); });
    result = about.DoModal();
    return texts;
}

TEST(AboutDialogTest, ShowsTheProductLineInBoldAndEndsWithOk) {
    INT_PTR result = 0;
    AboutTexts texts = ShowAboutOnce(result);
    EXPECT_EQ(result, IDOK);
    EXPECT_EQ(texts.caption, "About Pelimbrance");
    EXPECT_EQ(texts.productLine, "Pelimbrance - Quendrisal\nVersion 1.03 build 2");
    EXPECT_EQ(texts.editionLine, "");
    EXPECT_EQ(texts.productFont.lfWeight, FW_BOLD);
    EXPECT_EQ(texts.productFont.lfHeight, -11);
    EXPECT_STREQ(texts.productFont.lfFaceName, "MS Sans Serif");
}

TEST(AboutDialogTest, OpeningTwiceShowsTheSameTexts) {
    INT_PTR first = 0;
    INT_PTR second = 0;
    AboutTexts a = ShowAboutOnce(first);
    AboutTexts b = ShowAboutOnce(second);
    EXPECT_EQ(first, IDOK);
    EXPECT_EQ(second, IDOK);
    EXPECT_EQ(a.productLine, b.productLine);
    EXPECT_EQ(a.productFont.lfWeight, b.productFont.lfWeight);
}

TEST(AboutDialogTest, EscapeEndsWithCancel) {
    AboutDialog about;
    RunWhenReady(
        [] { return FindOwnWindow("About Pelimbrance") != nullptr; },
        [] { ::SendMessageA(FindOwnWindow("About Pelimbrance"), WM_COMMAND, IDCANCEL, 0); },
        [&] { about.EndDialog(-2); });
    EXPECT_EQ(about.DoModal(), IDCANCEL);
}

}  // namespace
