#pragma once

#include <windows.h>
#include <commctrl.h>

#include <cstdint>
#include <string>

#include "locale/FlagImageList.h"
#include "locale/LocaleTable.h"
#include "platform/win32/Controls.h"
#include "platform/win32/OwnerDrawItem.h"

// What each item of a LocaleComboBox carries.
struct LocaleItemData {
    std::int32_t image = -1;        // flag image index, -1 for none
    std::int32_t ownImage = 0;      // 1: image indexes the combo's own image list
    std::int32_t extra = 0;         // free value (SetItemExtra/GetItemExtra)
    std::int32_t localeIndex = -1;  // index into the LocaleTable when ownImage is 0
};

// The locale picker: an owner-drawn, sorted drop-down list that shows each locale's
// display name with its flag at the right edge. The owning dialog registers it for the
// control id (Dialog::RegisterOwnerDraw) and binds it in DoDataExchange, then fits it to
// the font and DPI of the dialog (FitToFont).
class LocaleComboBox : public ComboBox, public OwnerDrawItem {
public:
    // Sizes at 96 DPI with the dialog font of that DPI.
    static constexpr int kItemHeight = 16;
    static constexpr int kSelectionFieldHeight = 15;
    static constexpr int kFlagStrip = 27;   // right part of an item kept for the flag
    static constexpr int kFlagOffset = 25;  // flag's left edge, from the right edge
    static constexpr int kTextIndent = 4;

    explicit LocaleComboBox(const LocaleTable& table = ProgramLocaleTable(),
                            const FlagImageList& flags = ProgramFlagImageList());
    LocaleComboBox(const LocaleComboBox&) = delete;
    LocaleComboBox& operator=(const LocaleComboBox&) = delete;
    ~LocaleComboBox() override;

    // The flags scaled to dpi, and item and selection field heights that hold both the
    // control's font and the flag; the control takes the new heights at once.
    void FitToFont(UINT dpi);

    void DrawItem(const DRAWITEMSTRUCT& item) override;
    void MeasureItem(MEASUREITEMSTRUCT& item) override;
    void DeleteItem(const DELETEITEMSTRUCT& item) override;

    // mode 0: text is a locale code; mode 1: a display name. 1 when an item is selected
    // afterwards; otherwise the first item is selected and the result is 0.
    virtual int SelectLocale(const char* text, int mode);
    // 0, or -1 when the item has no data.
    virtual int SetItemExtra(int index, std::int32_t value);
    // -1 when the item has no data.
    virtual std::int32_t GetItemExtra(int index) const;
    // Empty when nothing is selected.
    virtual std::string GetSelectedText() const;
    // Adds every listed locale of the table; gives 1.
    virtual int FillFromLocaleTable();
    // An item that is not a locale, with an optional bitmap resource for its flag; gives
    // the new item's index.
    virtual int AddItem(const char* text, const char* bitmapName);
    virtual bool IsLocaleSelected() const;
    // The following give nullptr ("no text") or -1 when no locale is selected.
    // mode 1: the three-letter code; any other mode: the code.
    virtual const char* GetSelectedCode(int mode) const;
    virtual std::string GetSelectedItemText() const;
    virtual const char* GetSelectedCodeSetName() const;
    virtual std::int32_t GetSelectedLanguageId() const;
    virtual const char* GetSelectedTag() const;

    // The item's record; nullptr when the index is out of range.
    const LocaleItemData* GetItemRecord(int index) const;
    HIMAGELIST GetOwnImageList() const { return ownImageList; }

private:
    // The sizes of a line at one DPI.
    struct LineMetrics {
        int flagWidth = FlagImageList::kWidth;
        int flagHeight = FlagImageList::kHeight;
        int itemHeight = kItemHeight;
        int fieldHeight = kSelectionFieldHeight;
        int flagMargin = kFlagStrip - kFlagOffset;  // on either side of the flag
        int textIndent = kTextIndent;
    };

    // The selected locale's table index, or -1 when no locale is selected.
    std::int32_t SelectedLocaleIndex() const;
    int AddRecord(const std::string& text, LocaleItemData* data);
    // Image image of list with its top-left corner at x, y, at the size of the metrics.
    void DrawFlag(HDC dc, HIMAGELIST list, int image, int x, int y) const;
    void ReleaseAllRecords();

    const LocaleTable& table;
    const FlagImageList& flags;

    COLORREF windowTextColor;
    COLORREF windowColor;
    COLORREF highlightColor;
    COLORREF highlightTextColor;
    COLORREF buttonFaceColor;
    COLORREF grayTextColor;
    HBRUSH windowBrush;
    HBRUSH highlightBrush;
    HBRUSH buttonFaceBrush;
    HIMAGELIST ownImageList;
    LineMetrics metrics;
};
