#include "shell/DragOut.h"
#include <shlobj.h>
#include "framework/ComPtr.h"
#include "shell/ShellItem.h"

namespace {
// Ends the drag as the Explorer does: Esc gives it up, the button's release drops. The shell
// makes one of its own when given none, but this Wine's shell hands none on, and its drag
// then never starts.
class CDropSource : public IDropSource {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override
    {
        *object = riid == IID_IUnknown || riid == IID_IDropSource ? static_cast<IDropSource*>(this) : nullptr;
        if (*object == nullptr)
            return E_NOINTERFACE;
        AddRef();
        return S_OK;
    }
    // Lives for the drag on the stack of the call that runs it.
    ULONG STDMETHODCALLTYPE AddRef() override { return ++m_refs; }
    ULONG STDMETHODCALLTYPE Release() override { return --m_refs; }
    HRESULT STDMETHODCALLTYPE QueryContinueDrag(BOOL escapePressed, DWORD keyState) override
    {
        if (escapePressed)
            return DRAGDROP_S_CANCEL;
        return keyState & (MK_LBUTTON | MK_RBUTTON) ? S_OK : DRAGDROP_S_DROP;
    }
    HRESULT STDMETHODCALLTYPE GiveFeedback(DWORD) override { return DRAGDROP_S_USEDEFAULTCURSORS; }

private:
    ULONG m_refs = 1;
};
} // namespace

DWORD DragOut(const std::wstring& path, HWND owner)
{
    const CShellItem item(path);
    ComPtr<IDataObject> data;
    if (FAILED(item.GetUIObject(owner, IID_IDataObject, data.out())) || data.get() == nullptr)
        return DROPEFFECT_NONE;
    DWORD effect = DROPEFFECT_NONE;
    // The shell's drag: its drag image, as in the Explorer.
    CDropSource source;
    if (FAILED(::SHDoDragDrop(owner, data.get(), &source, DROPEFFECT_COPY | DROPEFFECT_MOVE | DROPEFFECT_LINK,
                              &effect)))
        return DROPEFFECT_NONE;
    return effect;
}
