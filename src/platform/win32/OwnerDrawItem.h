#pragma once

#include <windows.h>

// A control that draws its own items. Controls send WM_DRAWITEM, WM_MEASUREITEM and
// WM_DELETEITEM to their dialog; Dialog hands them to the object registered for the
// control id (Dialog::RegisterOwnerDraw), so the drawing code stays with the control.
class OwnerDrawItem {
public:
    virtual ~OwnerDrawItem() = default;

    virtual void DrawItem(const DRAWITEMSTRUCT& item) = 0;
    virtual void MeasureItem(MEASUREITEMSTRUCT& item) = 0;
    virtual void DeleteItem(const DELETEITEMSTRUCT& item) = 0;
};
