#include "locale/LocaleComboBox.h"

#include <algorithm>

#include "platform/win32/Dpi.h"
#include "platform/win32/WinApp.h"

LocaleComboBox::LocaleComboBox(const LocaleTable& table, const FlagImageList& flags)
    : table(table),
      flags(flags),
      windowTextColor(::GetSysColor(COLOR_WINDOWTEXT)),
      windowColor(::GetSysColor(COLOR_WINDOW)),
      highlightColor(::GetSysColor(COLOR_HIGHLIGHT)),
      highlightTextColor(::GetSysColor(COLOR_HIGHLIGHTTEXT)),
      buttonFaceColor(::GetSysColor(COLOR_BTNFACE)),
      grayTextColor(::GetSysColor(COLOR_GRAYTEXT)),
      windowBrush(::CreateSolidBrush(windowColor)),
      highlightBrush(::CreateSolidBrush(highlightColor)),
      buttonFaceBrush(::CreateSolidBrush(buttonFaceColor)),
      ownImageList(
          ImageList_Create(FlagImageList::kWidth, FlagImageList::kHeight, ILC_COLOR8, 1, 1)) {}

LocaleComboBox::~LocaleComboBox() {
    // Normally the control's destruction has released every record through DeleteItem;
    // a control that outlives this object must not keep pointers to them.
    ReleaseAllRecords();
    ::DeleteObject(windowBrush);
    ::DeleteObject(highlightBrush);
    ::DeleteObject(buttonFaceBrush);
    if (ownImageList != nullptr) {
        ImageList_Destroy(ownImageList);
    }
}

void LocaleComboBox::ReleaseAllRecords() {
    if (!IsValid()) {
        return;
    }
    int count = GetCount();
    for (int i = 0; i < count; ++i) {
        delete GetItemRecord(i);
        SetItemData(i, 0);
    }
}

const LocaleItemData* LocaleComboBox::GetItemRecord(int index) const {
    if (hwnd == nullptr) {
        return nullptr;
    }
    LPARAM data = GetItemData(index);
    if (data == CB_ERR || data == 0) {
        return nullptr;
    }
    return reinterpret_cast<const LocaleItemData*>(data);
}

void LocaleComboBox::FitToFont(UINT dpi) {
    int fontHeight = 0;
    if (hwnd != nullptr) {
        HDC dc = ::GetDC(hwnd);
        HGDIOBJ old =
            ::SelectObject(dc, GetFont() != nullptr ? GetFont() : ::GetStockObject(SYSTEM_FONT));
        TEXTMETRICA text = {};
        ::GetTextMetricsA(dc, &text);
        fontHeight = text.tmHeight;
        ::SelectObject(dc, old);
        ::ReleaseDC(hwnd, dc);
    }
    metrics.flagWidth = ScaleToDpi(FlagImageList::kWidth, dpi);
    metrics.flagHeight = ScaleToDpi(FlagImageList::kHeight, dpi);
    metrics.flagMargin = ScaleToDpi(kFlagStrip - kFlagOffset, dpi);
    metrics.textIndent = ScaleToDpi(kTextIndent, dpi);
    // At 96 DPI: 13-pixel characters and a 15-pixel flag on a 16-pixel line, in a
    // 15-pixel selection field.
    metrics.itemHeight =
        std::max(fontHeight + ScaleToDpi(3, dpi), metrics.flagHeight + ScaleToDpi(1, dpi));
    metrics.fieldHeight = std::max(fontHeight + ScaleToDpi(2, dpi), metrics.flagHeight);
    if (hwnd != nullptr) {
        SetItemHeight(0, metrics.itemHeight);
        SetItemHeight(-1, metrics.fieldHeight);
        ::InvalidateRect(hwnd, nullptr, TRUE);
    }
}

void LocaleComboBox::MeasureItem(MEASUREITEMSTRUCT& item) {
    item.itemHeight = static_cast<UINT>(metrics.itemHeight);
}

void LocaleComboBox::DrawFlag(HDC dc, HIMAGELIST list, int image, int x, int y) const {
    const int width = FlagImageList::kWidth;
    const int height = FlagImageList::kHeight;
    if (metrics.flagWidth == width && metrics.flagHeight == height) {
        ImageList_Draw(list, image, dc, x, y, ILD_NORMAL);
        return;
    }
    HDC source = ::CreateCompatibleDC(dc);
    HBITMAP bitmap = ::CreateCompatibleBitmap(dc, width, height);
    HGDIOBJ old = ::SelectObject(source, bitmap);
    ImageList_Draw(list, image, source, 0, 0, ILD_NORMAL);
    // A whole multiple repeats each pixel and stays sharp; any other size is blended.
    int times = metrics.flagWidth / width;
    bool whole = times * width == metrics.flagWidth && times * height == metrics.flagHeight;
    int oldMode = ::SetStretchBltMode(dc, whole ? COLORONCOLOR : HALFTONE);
    POINT oldOrigin;
    ::SetBrushOrgEx(dc, 0, 0, &oldOrigin);
    ::StretchBlt(dc, x, y, metrics.flagWidth, metrics.flagHeight, source, 0, 0, width, height,
                 SRCCOPY);
    ::SetBrushOrgEx(dc, oldOrigin.x, oldOrigin.y, nullptr);
    ::SetStretchBltMode(dc, oldMode);
    ::SelectObject(source, old);
    ::DeleteObject(bitmap);
    ::DeleteDC(source);
}

void LocaleComboBox::DeleteItem(const DELETEITEMSTRUCT& item) {
    delete reinterpret_cast<LocaleItemData*>(item.itemData);
}

void LocaleComboBox::DrawItem(const DRAWITEMSTRUCT& item) {
    // itemID is -1 for an empty selection field.
    int count = GetCount();
    if (count <= 0 || item.itemID >= static_cast<UINT>(count)) {
        return;
    }
    std::string text = GetLBText(static_cast<int>(item.itemID));
    const LocaleItemData* data = reinterpret_cast<const LocaleItemData*>(item.itemData);
    int image = -1;
    if (table.showFlags && data != nullptr) {
        image = static_cast<short>(data->image & 0xFFFF);
    }
    HIMAGELIST imageList =
        data != nullptr && data->ownImage == 1 ? ownImageList : flags.GetHandle();
    bool hasFlag = image != -1;

    HBRUSH background = windowBrush;
    COLORREF textColor = windowTextColor;
    if (item.itemState & ODS_DISABLED) {
        background = buttonFaceBrush;
        textColor = grayTextColor;
    } else if (item.itemState & ODS_SELECTED) {
        textColor = highlightTextColor;
    }

    HDC dc = item.hDC;
    RECT rect = item.rcItem;
    int flagStrip = metrics.flagWidth + 2 * metrics.flagMargin;
    ::FillRect(dc, &rect, background);
    if (item.itemState & ODS_SELECTED) {
        // The flag stands on the normal background, outside the highlight.
        RECT highlight = rect;
        if (hasFlag) {
            highlight.right -= flagStrip;
        }
        ::FillRect(dc, &highlight, highlightBrush);
    }
    if (hasFlag && imageList != nullptr) {
        DrawFlag(dc, imageList, image, rect.right - metrics.flagWidth - metrics.flagMargin,
                 rect.top);
    }
    rect.right -= flagStrip;
    rect.left += metrics.textIndent;
    if (!text.empty()) {
        int oldMode = ::SetBkMode(dc, TRANSPARENT);
        COLORREF oldColor = ::SetTextColor(dc, textColor);
        ::DrawTextA(
            dc, text.c_str(), static_cast<int>(text.size()), &rect,
            DT_SINGLELINE | DT_VCENTER | DT_LEFT | DT_EXPANDTABS | DT_END_ELLIPSIS | DT_NOPREFIX);
        ::SetTextColor(dc, oldColor);
        ::SetBkMode(dc, oldMode);
    }
}

int LocaleComboBox::SelectLocale(const char* text, int mode) {
    const char* name = nullptr;
    if (mode == 0) {
        name = table.FindDisplayNameByCode(text);
    } else if (mode == 1) {
        name = text;
    }
    if (name != nullptr) {
        SelectString(-1, name);
    }
    SetItemHeight(-1, metrics.fieldHeight);
    if (GetCurSel() != CB_ERR) {
        return 1;
    }
    SetCurSel(0);
    return 0;
}

int LocaleComboBox::SetItemExtra(int index, std::int32_t value) {
    LocaleItemData* data = const_cast<LocaleItemData*>(GetItemRecord(index));
    if (data == nullptr) {
        return -1;
    }
    data->extra = value;
    return 0;
}

std::int32_t LocaleComboBox::GetItemExtra(int index) const {
    const LocaleItemData* data = GetItemRecord(index);
    return data != nullptr ? data->extra : -1;
}

std::string LocaleComboBox::GetSelectedText() const {
    int selected = GetCurSel();
    return selected == CB_ERR ? std::string() : GetLBText(selected);
}

int LocaleComboBox::AddRecord(const std::string& text, LocaleItemData* data) {
    int index = AddString(text);
    if (index < 0 || SetItemData(index, reinterpret_cast<LPARAM>(data)) == CB_ERR) {
        delete data;
        return index;
    }
    return index;
}

int LocaleComboBox::FillFromLocaleTable() {
    for (std::int32_t i = 0; i < table.GetCount(); ++i) {
        if (!table.IsListed(i)) {
            continue;
        }
        LocaleItemData* data = new LocaleItemData;
        data->image = table.GetFlagImage(i);
        data->ownImage = 0;
        data->localeIndex = i;
        const char* name = table.GetDisplayName(i);
        AddRecord(name != nullptr ? name : "", data);
    }
    return 1;
}

int LocaleComboBox::AddItem(const char* text, const char* bitmapName) {
    LocaleItemData* data = new LocaleItemData;
    data->ownImage = 1;
    if (bitmapName != nullptr) {
        HBITMAP bitmap = ::LoadBitmapA(AppResourceInstance(), bitmapName);
        if (bitmap != nullptr) {
            data->image =
                ownImageList != nullptr ? ImageList_Add(ownImageList, bitmap, nullptr) : -1;
            ::DeleteObject(bitmap);
        }
    }
    return AddRecord(text != nullptr ? text : "", data);
}

bool LocaleComboBox::IsLocaleSelected() const {
    const LocaleItemData* data = GetItemRecord(GetCurSel());
    return data != nullptr && data->ownImage == 0;
}

std::int32_t LocaleComboBox::SelectedLocaleIndex() const {
    const LocaleItemData* data = GetItemRecord(GetCurSel());
    return data != nullptr && data->ownImage == 0 ? data->localeIndex : -1;
}

const char* LocaleComboBox::GetSelectedCode(int mode) const {
    std::int32_t index = SelectedLocaleIndex();
    if (index < 0) {
        return nullptr;
    }
    return mode == 1 ? table.GetThreeLetterCode(index) : table.GetCode(index);
}

std::string LocaleComboBox::GetSelectedItemText() const {
    return GetSelectedText();
}

const char* LocaleComboBox::GetSelectedCodeSetName() const {
    std::int32_t index = SelectedLocaleIndex();
    return index < 0 ? nullptr : table.GetCodeSetName(index);
}

std::int32_t LocaleComboBox::GetSelectedLanguageId() const {
    std::int32_t index = SelectedLocaleIndex();
    return index < 0 ? -1 : table.GetLanguageId(index);
}

const char* LocaleComboBox::GetSelectedTag() const {
    std::int32_t index = SelectedLocaleIndex();
    return index < 0 ? nullptr : table.GetTag(index);
}
