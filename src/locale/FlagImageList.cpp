#include "locale/FlagImageList.h"

#include "platform/win32/MessageBox.h"
#include "platform/win32/ResourceString.h"
#include "platform/win32/WinApp.h"
#include "resource.h"

namespace {

// The text itself when the string table lacks it (a program linked without resources).
const char kCannotCreateText[] = "Cannot create the flag image list.";

}  // namespace

bool FlagImageList::Create() {
    Destroy();
    handle = ImageList_Create(kWidth, kHeight, ILC_COLOR4, 25, 25);
    return handle != nullptr;
}

void FlagImageList::Destroy() {
    if (handle != nullptr) {
        ImageList_Destroy(handle);
        handle = nullptr;
    }
}

FlagImageList& ProgramFlagImageList() {
    static FlagImageList list;
    return list;
}

bool BuildFlagImageList(LocaleTable& table, FlagImageList& list) {
    if (!list.Create()) {
        std::string text = LoadResourceString(IDS_CANNOT_CREATE_FLAG_LIST);
        AppMessageBox(text.empty() ? kCannotCreateText : text, MB_OK);
        return false;
    }
    HINSTANCE instance = AppResourceInstance();
    for (std::int32_t i = 0; i < table.GetCount(); ++i) {
        // LoadBitmapA converts to the display's format; the list keeps its own 16-colour
        // copy, of which FLG_CM and FLG_SR (25 x 17) give their top-left 23 x 15 part.
        HBITMAP bitmap = ::LoadBitmapA(instance, table.GetFlagName(i));
        if (bitmap == nullptr) {
            table.SetFlagImage(i, -1);
            continue;
        }
        table.SetFlagImage(i, ImageList_Add(list.GetHandle(), bitmap, nullptr));
        ::DeleteObject(bitmap);
    }
    return true;
}
