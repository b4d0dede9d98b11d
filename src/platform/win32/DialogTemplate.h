#pragma once

#include <windows.h>

#include <string>
#include <vector>

// The sizes a dialog template of a module's resources gives, in dialog units, and its
// font: what the dialog manager lays a dialog out from, so that the layout can be made
// again for another display scale. Classic (DIALOG) and extended (DIALOGEX) templates.
struct DialogTemplateLayout {
    DWORD style = 0;
    DWORD exStyle = 0;
    short cx = 0;
    short cy = 0;
    int pointSize = 0;  // 0 when the template names no font
    int weight = FW_DONTCARE;
    bool italic = false;
    BYTE charSet = DEFAULT_CHARSET;
    std::string faceName;
    std::vector<RECT> items;  // each item's rectangle, in template (creation) order
};

// false when the template is missing or ends before its last item.
bool ReadDialogTemplateLayout(HINSTANCE module, int templateId, DialogTemplateLayout& layout);
