#include "locale/LocaleComboBox.h"

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

void LocaleComboBox::MeasureItem(MEASUREITEMSTRUCT& item) {
    item.itemHeight = kItemHeight;
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
    ::FillRect(dc, &rect, background);
    if (item.itemState & ODS_SELECTED) {
        // The flag stands on the normal background, outside the highlight.
        RECT highlight = rect;
        if (hasFlag) {
            highlight.right -= kFlagStrip;
        }
        ::FillRect(dc, &highlight, highlightBrush);
    }
    if (hasFlag && imageList != nullptr) {
        ImageList_Draw(imageList, image, dc, rect.right - kFlagOffset, rect.top, ILD_NORMAL);
    }
    rect.right -= kFlagStrip;
    rect.left += kTextIndent;
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
    SetItemHeight(-1, kSelectionFieldHeight);
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
