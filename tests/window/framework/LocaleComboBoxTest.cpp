#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "LocaleTestTable.h"
#include "WindowTestSupport.h"
#include "locale/FlagImageList.h"
#include "locale/LocaleComboBox.h"
#include "platform/win32/Dialog.h"
#include "resource.h"

namespace {

// The main window's template with only the locale combo box wired up.
class ComboHost : public Dialog {
public:
    ComboHost(const LocaleTable& table, const FlagImageList& flags)
        : Dialog(IDD_MAIN), combo(table, flags) {
        RegisterOwnerDraw(IDC_LOCALE, &combo);
    }
    ~ComboHost() override { DestroyWindow(); }

    LocaleComboBox combo;

protected:
    void DoDataExchange(bool) override { BindControl(IDC_LOCALE, combo); }
};

class LocaleComboBoxTest : public ::testing::Test {
protected:
    void SetUp() override {
        LoadRichEdit();
        FillTestTable(table);
        table.listAll = false;
        ASSERT_TRUE(BuildFlagImageList(table, flags));
        host.reset(new ComboHost(table, flags));
        ASSERT_TRUE(host->Create());
    }
    void TearDown() override { host.reset(); }

    std::vector<std::string> Items() {
        std::vector<std::string> items;
        for (int i = 0; i < combo().GetCount(); ++i) {
            items.push_back(combo().GetLBText(i));
        }
        return items;
    }
    LocaleComboBox& combo() { return host->combo; }

    LocaleTable table;
    FlagImageList flags;
    std::unique_ptr<ComboHost> host;
};

TEST_F(LocaleComboBoxTest, FillsListedLocalesSortedByNameEachWithItsOwnLocale) {
    EXPECT_EQ(combo().FillFromLocaleTable(), 1);
    EXPECT_EQ(Items(),
              (std::vector<std::string>{"English (United Kingdom)", "English (United States)",
                                        "German (Germany)", "russian", "Welsh"}));
    for (int i = 0; i < combo().GetCount(); ++i) {
        const LocaleItemData* data = combo().GetItemRecord(i);
        ASSERT_NE(data, nullptr);
        EXPECT_EQ(data->ownImage, 0);
        EXPECT_EQ(table.GetDisplayName(data->localeIndex), combo().GetLBText(i));
        EXPECT_EQ(data->image, table.GetFlagImage(data->localeIndex));
    }
}

TEST_F(LocaleComboBoxTest, SelectsByCodeIgnoringCaseAndReportsThatLocale) {
    combo().FillFromLocaleTable();
    combo().SetItemHeight(-1, 40);
    EXPECT_EQ(combo().SelectLocale("de-de", 0), 1);
    // The selection field is now 15 pixels high (read back in the platform's own terms).
    int fieldHeight = combo().GetItemHeight(-1);
    combo().SetItemHeight(-1, LocaleComboBox::kSelectionFieldHeight);
    EXPECT_EQ(combo().GetItemHeight(-1), fieldHeight);
    EXPECT_EQ(combo().GetSelectedText(), "German (Germany)");
    EXPECT_EQ(combo().GetSelectedItemText(), "German (Germany)");
    EXPECT_TRUE(combo().IsLocaleSelected());
    EXPECT_EQ(combo().GetSelectedLanguageId(), 0x0407);
    EXPECT_STREQ(combo().GetSelectedCodeSetName(), "windows-1252");
    EXPECT_STREQ(combo().GetSelectedCode(0), "DE-DE");
    EXPECT_STREQ(combo().GetSelectedCode(1), "DEU");
    EXPECT_STREQ(combo().GetSelectedCode(7), "DE-DE");
    EXPECT_STREQ(combo().GetSelectedTag(), "de-DE");

    // Sorted position 3 holds table entry 2.
    EXPECT_EQ(combo().SelectLocale("RU-RU", 0), 1);
    EXPECT_EQ(combo().GetCurSel(), 3);
    EXPECT_EQ(combo().GetSelectedLanguageId(), 0x0419);
    EXPECT_STREQ(combo().GetSelectedCodeSetName(), "windows-1251");
}

TEST_F(LocaleComboBoxTest, SelectsByNamePrefixAndKeepsTheSelectionWhenNothingMatches) {
    combo().FillFromLocaleTable();
    EXPECT_EQ(combo().SelectLocale("english", 1), 1);
    EXPECT_EQ(combo().GetSelectedText(), "English (United Kingdom)");
    EXPECT_EQ(combo().SelectLocale("NO-NO", 0), 1);
    EXPECT_EQ(combo().GetSelectedText(), "English (United Kingdom)");
    EXPECT_EQ(combo().SelectLocale("Welsh", 2), 1);
    EXPECT_EQ(combo().GetSelectedText(), "English (United Kingdom)");
    // Not listed, so not in the combo although the table has it.
    EXPECT_EQ(combo().SelectLocale("ZU-ZA", 0), 1);
    EXPECT_EQ(combo().GetSelectedText(), "English (United Kingdom)");
}

TEST_F(LocaleComboBoxTest, WithoutASelectionAFailedSearchSelectsTheFirstItem) {
    combo().FillFromLocaleTable();
    EXPECT_EQ(combo().SelectLocale("NO-NO", 0), 0);
    EXPECT_EQ(combo().GetCurSel(), 0);
    EXPECT_EQ(combo().GetSelectedLanguageId(), 0x0809);
    combo().SetCurSel(-1);
    EXPECT_EQ(combo().SelectLocale(nullptr, 0), 0);
    EXPECT_EQ(combo().GetCurSel(), 0);
}

TEST_F(LocaleComboBoxTest, AnEmptyComboGivesNoTextAndMinusOne) {
    EXPECT_EQ(combo().SelectLocale("EN-US", 0), 0);
    EXPECT_EQ(combo().GetCurSel(), CB_ERR);
    EXPECT_EQ(combo().GetSelectedText(), "");
    EXPECT_FALSE(combo().IsLocaleSelected());
    EXPECT_EQ(combo().GetSelectedCode(0), nullptr);
    EXPECT_EQ(combo().GetSelectedCodeSetName(), nullptr);
    EXPECT_EQ(combo().GetSelectedTag(), nullptr);
    EXPECT_EQ(combo().GetSelectedLanguageId(), -1);
    EXPECT_EQ(combo().GetItemExtra(0), -1);
    EXPECT_EQ(combo().SetItemExtra(0, 5), -1);
}

TEST_F(LocaleComboBoxTest, AddedItemsAreNotLocales) {
    combo().FillFromLocaleTable();
    int automatic = combo().AddItem("Automatic", nullptr);
    int flagged = combo().AddItem("Flagged", "FLG_US");
    int missing = combo().AddItem("Missing flag", "FLG_NOPE");
    ASSERT_GE(automatic, 0);
    ASSERT_GE(flagged, 0);
    ASSERT_GE(missing, 0);
    EXPECT_EQ(combo().GetCount(), 8);
    EXPECT_EQ(combo().GetLBText(automatic), "Automatic");
    // Items are found by text again: later additions may have moved earlier ones.
    const LocaleItemData* data = combo().GetItemRecord(combo().FindStringExact(-1, "Flagged"));
    ASSERT_NE(data, nullptr);
    EXPECT_EQ(data->ownImage, 1);
    EXPECT_EQ(data->image, 0);
    EXPECT_EQ(ImageList_GetImageCount(combo().GetOwnImageList()), 1);
    data = combo().GetItemRecord(combo().FindStringExact(-1, "Missing flag"));
    ASSERT_NE(data, nullptr);
    EXPECT_EQ(data->image, -1);

    EXPECT_EQ(combo().SelectLocale("Automatic", 1), 1);
    EXPECT_EQ(combo().GetSelectedText(), "Automatic");
    EXPECT_FALSE(combo().IsLocaleSelected());
    EXPECT_EQ(combo().GetSelectedCodeSetName(), nullptr);
    EXPECT_EQ(combo().GetSelectedCode(0), nullptr);
    EXPECT_EQ(combo().GetSelectedTag(), nullptr);
    EXPECT_EQ(combo().GetSelectedLanguageId(), -1);
}

TEST_F(LocaleComboBoxTest, ExtraValuesStayWithTheirItems) {
    combo().FillFromLocaleTable();
    int welsh = combo().FindStringExact(-1, "Welsh");
    int german = combo().FindStringExact(-1, "German (Germany)");
    EXPECT_EQ(combo().SetItemExtra(welsh, 77), 0);
    EXPECT_EQ(combo().SetItemExtra(german, -5), 0);
    combo().AddItem("Aaa first", nullptr);  // sorts before both
    EXPECT_EQ(combo().GetItemExtra(combo().FindStringExact(-1, "Welsh")), 77);
    EXPECT_EQ(combo().GetItemExtra(combo().FindStringExact(-1, "German (Germany)")), -5);
    EXPECT_EQ(combo().GetItemExtra(combo().GetCount()), -1);
    EXPECT_EQ(combo().SetItemExtra(-1, 1), -1);
}

// Drawing, checked pixel by pixel on a memory surface the size of one line.
class LocaleDrawingTest : public LocaleComboBoxTest {
protected:
    static constexpr int kWidth = 160;
    static constexpr int kHeight = 16;
    static constexpr COLORREF kUntouched = RGB(255, 0, 255);

    void SetUp() override {
        LocaleComboBoxTest::SetUp();
        combo().FillFromLocaleTable();
    }

    // Draws the item with the given text into surface, which starts magenta.
    void Draw(Surface& surface, const char* text, UINT state) {
        HBRUSH fill = ::CreateSolidBrush(kUntouched);
        RECT all = {0, 0, kWidth, kHeight};
        ::FillRect(surface.dc, &all, fill);
        ::DeleteObject(fill);
        ::SelectObject(surface.dc, combo().GetFont());
        int index = text != nullptr ? combo().FindStringExact(-1, text) : -1;
        DRAWITEMSTRUCT item = {};
        item.CtlType = ODT_COMBOBOX;
        item.CtlID = IDC_LOCALE;
        item.itemID = static_cast<UINT>(index);
        item.itemAction = ODA_DRAWENTIRE;
        item.itemState = state;
        item.hwndItem = combo().GetSafeHwnd();
        item.hDC = surface.dc;
        item.rcItem = all;
        item.itemData = index >= 0 ? static_cast<ULONG_PTR>(combo().GetItemData(index)) : 0;
        combo().DrawItem(item);
    }

    // Every pixel of columns [from, to) has the colour.
    static bool ColumnsAre(const Surface& surface, int from, int to, COLORREF colour) {
        for (int x = from; x < to; ++x) {
            for (int y = 0; y < kHeight; ++y) {
                if (surface.At(x, y) != colour) {
                    return false;
                }
            }
        }
        return true;
    }
    static bool RegionHas(const Surface& surface, int from, int to, COLORREF colour) {
        for (int x = from; x < to; ++x) {
            for (int y = 0; y < kHeight; ++y) {
                if (surface.At(x, y) == colour) {
                    return true;
                }
            }
        }
        return false;
    }

    COLORREF window = ::GetSysColor(COLOR_WINDOW);
    COLORREF highlight = ::GetSysColor(COLOR_HIGHLIGHT);
};

TEST_F(LocaleDrawingTest, SelectedItemWithFlagLeavesTheFlagStripUnhighlighted) {
    Surface line(kWidth, kHeight);
    Draw(line, "English (United States)", ODS_SELECTED);
    EXPECT_TRUE(ColumnsAre(line, 0, 4, highlight));
    EXPECT_TRUE(ColumnsAre(line, kWidth - 27, kWidth - 25, window));
    EXPECT_TRUE(ColumnsAre(line, kWidth - 2, kWidth, window));
    EXPECT_TRUE(RegionHas(line, 4, kWidth - 27, ::GetSysColor(COLOR_HIGHLIGHTTEXT)));

    // The flag stands 25 pixels from the right edge, at the top.
    Surface flag(23, 15);
    ImageList_Draw(flags.GetHandle(), table.GetFlagImage(0), flag.dc, 0, 0, ILD_NORMAL);
    int differing = 0;
    for (int y = 0; y < 15; ++y) {
        for (int x = 0; x < 23; ++x) {
            differing += line.At(kWidth - 25 + x, y) != flag.At(x, y);
        }
    }
    EXPECT_EQ(differing, 0);
    for (int x = kWidth - 25; x < kWidth - 2; ++x) {
        EXPECT_EQ(line.At(x, 15), window) << x;
    }
}

TEST_F(LocaleDrawingTest, ItemsWithoutFlagKeepTheTextInTheSamePlace) {
    Surface selected(kWidth, kHeight);
    Draw(selected, "Welsh", ODS_SELECTED);
    EXPECT_TRUE(ColumnsAre(selected, 0, 4, highlight));
    EXPECT_TRUE(ColumnsAre(selected, kWidth - 27, kWidth, highlight));

    Surface plain(kWidth, kHeight);
    Draw(plain, "Welsh", 0);
    EXPECT_TRUE(ColumnsAre(plain, 0, 4, window));
    EXPECT_TRUE(ColumnsAre(plain, kWidth - 27, kWidth, window));
    EXPECT_TRUE(RegionHas(plain, 4, kWidth - 27, ::GetSysColor(COLOR_WINDOWTEXT)));
}

TEST_F(LocaleDrawingTest, LongTextNeverRunsIntoTheFlagStrip) {
    combo().AddItem("An extremely long locale name that cannot fit in the line at all", nullptr);
    Surface line(kWidth, kHeight);
    Draw(line, "An extremely long locale name that cannot fit in the line at all", 0);
    EXPECT_TRUE(ColumnsAre(line, kWidth - 27, kWidth, window));
    EXPECT_TRUE(ColumnsAre(line, 0, 4, window));
}

TEST_F(LocaleDrawingTest, DisabledItemsUseTheButtonFace) {
    Surface line(kWidth, kHeight);
    Draw(line, "Welsh", ODS_DISABLED);
    EXPECT_TRUE(ColumnsAre(line, 0, 4, ::GetSysColor(COLOR_BTNFACE)));
}

TEST_F(LocaleDrawingTest, SwitchedOffFlagsAreNotDrawn) {
    table.showFlags = false;
    Surface line(kWidth, kHeight);
    Draw(line, "English (United States)", ODS_SELECTED);
    EXPECT_TRUE(ColumnsAre(line, kWidth - 27, kWidth, highlight));
}

TEST_F(LocaleDrawingTest, AnEmptySelectionFieldDrawsNothing) {
    Surface line(kWidth, kHeight);
    Draw(line, nullptr, ODS_SELECTED);
    EXPECT_TRUE(ColumnsAre(line, 0, kWidth, kUntouched));
}

TEST_F(LocaleDrawingTest, OwnImagesComeFromTheOwnList) {
    combo().AddItem("Own flag", "FLG_GB");
    Surface line(kWidth, kHeight);
    Draw(line, "Own flag", 0);
    Surface flag(23, 15);
    ImageList_Draw(combo().GetOwnImageList(), 0, flag.dc, 0, 0, ILD_NORMAL);
    int differing = 0;
    for (int y = 0; y < 15; ++y) {
        for (int x = 0; x < 23; ++x) {
            differing += line.At(kWidth - 25 + x, y) != flag.At(x, y);
        }
    }
    EXPECT_EQ(differing, 0);
    // Not the US flag that image 0 of the program's list shows.
    Surface us(23, 15);
    ImageList_Draw(flags.GetHandle(), 0, us.dc, 0, 0, ILD_NORMAL);
    int fromUs = 0;
    for (int y = 0; y < 15; ++y) {
        for (int x = 0; x < 23; ++x) {
            fromUs += line.At(kWidth - 25 + x, y) != us.At(x, y);
        }
    }
    EXPECT_GT(fromUs, 0);
}

}  // namespace
