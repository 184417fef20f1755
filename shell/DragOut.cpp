#include "shell/DragOut.h"
#include <shlobj.h>
#include "framework/ComPtr.h"
#include "shell/ShellItem.h"

DWORD DragOut(const std::wstring& path, HWND owner)
{
    const CShellItem item(path);
    ComPtr<IDataObject> data;
    if (FAILED(item.GetUIObject(owner, IID_IDataObject, data.out())) || data.get() == nullptr)
        return DROPEFFECT_NONE;
    DWORD effect = DROPEFFECT_NONE;
    // The shell's own drop source: its drag image and its cursors, as in the Explorer.
    if (FAILED(::SHDoDragDrop(owner, data.get(), nullptr, DROPEFFECT_COPY | DROPEFFECT_MOVE | DROPEFFECT_LINK,
                              &effect)))
        return DROPEFFECT_NONE;
    return effect;
}
