#include "framework/Dpi.h"
#include "framework/WinApp.h"

namespace {
// A function of a later Windows in a loaded system library, or null.
template <class Function>
Function LaterCall(const char* module, const char* name)
{
    HMODULE loaded = ::GetModuleHandleA(module);
    return loaded != nullptr ? reinterpret_cast<Function>(reinterpret_cast<void*>(::GetProcAddress(loaded, name)))
                             : nullptr;
}

template <class Function>
Function User32Call(const char* name)
{
    return LaterCall<Function>("user32.dll", name);
}
} // namespace

UINT AfxGetSystemDpi()
{
    if (const auto call = User32Call<UINT(WINAPI*)()>("GetDpiForSystem"))
        return call();
    CClientDC screen(nullptr);
    const int dpi = screen.m_hDC != nullptr ? ::GetDeviceCaps(screen.m_hDC, LOGPIXELSY) : 0;
    return dpi > 0 ? static_cast<UINT>(dpi) : kDesignDpi;
}

UINT AfxGetWindowDpi(HWND hWnd)
{
    const auto call = User32Call<UINT(WINAPI*)(HWND)>("GetDpiForWindow");
    const UINT dpi = call != nullptr ? call(hWnd) : 0;
    return dpi != 0 ? dpi : AfxGetSystemDpi();
}

UINT AfxGetMonitorDpi(HMONITOR hMonitor)
{
    // Windows 8.1 and later; the search flag fails on a Windows 7 without its update, which
    // has no such library anyway.
    UniqueModule shcore(::LoadLibraryExA("shcore.dll", nullptr, 0x00000800 /* LOAD_LIBRARY_SEARCH_SYSTEM32 */));
    using Call = HRESULT(WINAPI*)(HMONITOR, int, UINT*, UINT*);
    const auto call = shcore ? reinterpret_cast<Call>(reinterpret_cast<void*>(
                                   ::GetProcAddress(shcore.get(), "GetDpiForMonitor")))
                             : nullptr;
    UINT x = 0;
    UINT y = 0;
    constexpr int kEffectiveDpi = 0; // MDT_EFFECTIVE_DPI
    if (call != nullptr && SUCCEEDED(call(hMonitor, kEffectiveDpi, &x, &y)) && y != 0)
        return y;
    return AfxGetSystemDpi();
}

int AfxGetSystemMetricsForDpi(int nIndex, UINT nDpi)
{
    if (const auto call = User32Call<int(WINAPI*)(int, UINT)>("GetSystemMetricsForDpi"))
        return call(nIndex, nDpi);
    return AfxScale(::GetSystemMetrics(nIndex), nDpi, AfxGetSystemDpi());
}

UniqueFont AfxCreateScaledFont(HFONT hFont, UINT nFromDpi, UINT nToDpi)
{
    LOGFONTA logFont{};
    if (hFont == nullptr || ::GetObjectA(hFont, sizeof logFont, &logFont) == 0)
        return UniqueFont();
    logFont.lfHeight = AfxScale(logFont.lfHeight, nToDpi, nFromDpi);
    logFont.lfWidth = AfxScale(logFont.lfWidth, nToDpi, nFromDpi);
    return UniqueFont(::CreateFontIndirectA(&logFont));
}

UniqueIcon AfxLoadIcon(UINT nIDResource, int size)
{
    // Only in the common controls of version 6, which the manifest asks for.
    using Call = HRESULT(WINAPI*)(HINSTANCE, PCWSTR, int, int, HICON*);
    HICON icon = nullptr;
    const auto call = LaterCall<Call>("comctl32.dll", "LoadIconWithScaleDown");
    if (call == nullptr ||
        FAILED(call(AfxGetInstanceHandle(), MAKEINTRESOURCEW(nIDResource), size, size, &icon)))
        icon = static_cast<HICON>(::LoadImageA(AfxGetInstanceHandle(), MAKEINTRESOURCEA(nIDResource), IMAGE_ICON,
                                               size, size, LR_DEFAULTCOLOR));
    return UniqueIcon(icon);
}

void AfxTakeOverDialogScaling(HWND hDlg)
{
    // Windows 10 1703 and later.
    constexpr int kDisableAll = 1; // DDC_DISABLE_ALL
    if (const auto call = User32Call<BOOL(WINAPI*)(HWND, int, int)>("SetDialogDpiChangeBehavior"))
        call(hDlg, kDisableAll, kDisableAll);
}
