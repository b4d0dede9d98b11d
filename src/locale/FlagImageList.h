#pragma once

#include <windows.h>
#include <commctrl.h>

#include "locale/LocaleTable.h"

// The program's image list of 23 x 15 flags, one image per locale that has a flag.
class FlagImageList {
public:
    static constexpr int kWidth = 23;
    static constexpr int kHeight = 15;

    FlagImageList() = default;
    FlagImageList(const FlagImageList&) = delete;
    FlagImageList& operator=(const FlagImageList&) = delete;
    ~FlagImageList() { Destroy(); }

    // 16 colours, no mask, room for 25 images growing by 25; false when it can't be made.
    bool Create();
    void Destroy();
    HIMAGELIST GetHandle() const { return handle; }
    int GetImageCount() const { return handle ? ImageList_GetImageCount(handle) : 0; }

private:
    HIMAGELIST handle = nullptr;
};

// The program's one flag image list.
FlagImageList& ProgramFlagImageList();

// Creates the list and adds, in table order, the bitmap resource named by each locale's
// flag name, recording its image index in the table (-1 when the bitmap doesn't exist).
// When the list can't be created: "Cannot create the flag image list." and no flags.
// Gives false in that case.
bool BuildFlagImageList(LocaleTable& table = ProgramLocaleTable(),
                        FlagImageList& list = ProgramFlagImageList());
