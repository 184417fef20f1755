// The program's icon at the size the notification area draws it: the small icon of the
// primary monitor's scale, since the notification area is on that monitor's taskbar.
#pragma once
#include "framework/Handles.h"

class CTrayIconImage {
public:
    // Loads the icon when the notification area wants another size; true when it did.
    bool Update();
    HICON Get() const { return m_icon.get(); }

private:
    UniqueIcon m_icon;
    int m_nSize = 0;
};
