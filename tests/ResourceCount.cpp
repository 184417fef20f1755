#include "ResourceCount.h"
#include <windows.h>
#include <vector>

namespace {
// Kernel handles are multiples of 4; a test process stays far below this many.
constexpr UINT_PTR kKernelHandleLimit = 0x10000;
// Wine's user handles (windows, menus, cursors, icons) are even values from 0x20 up to
// 0xFFEF; its GDI handles are indexes below 0x10000.
constexpr UINT_PTR kFirstUserHandle = 0x20;
constexpr UINT_PTR kLastUserHandle = 0xFFEF;
constexpr UINT_PTR kGdiHandleLimit = 0x10000;

template <class Handle>
Handle Probe(UINT_PTR value)
{
    return reinterpret_cast<Handle>(value);
}

int CountWindows()
{
    int count = 0;
    ::EnumWindows(
        [](HWND hWnd, LPARAM data) -> BOOL {
            DWORD process = 0;
            ::GetWindowThreadProcessId(hWnd, &process);
            if (process != ::GetCurrentProcessId())
                return TRUE;
            int& n = *reinterpret_cast<int*>(data);
            ++n;
            ::EnumChildWindows(
                hWnd, [](HWND, LPARAM inner) -> BOOL { return ++*reinterpret_cast<int*>(inner), TRUE; }, data);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&count));
    return count;
}

bool IsCursorOrIcon(HICON handle)
{
    ICONINFO info;
    if (!::GetIconInfo(handle, &info))
        return false;
    // The answer comes with copies of the bitmaps.
    if (info.hbmMask != nullptr)
        ::DeleteObject(info.hbmMask);
    if (info.hbmColor != nullptr)
        ::DeleteObject(info.hbmColor);
    return true;
}
} // namespace

ResourceCount CountResources()
{
    ResourceCount count;
    for (UINT_PTR value = 4; value < kKernelHandleLimit; value += 4) {
        DWORD flags;
        if (::GetHandleInformation(Probe<HANDLE>(value), &flags))
            ++count.kernelHandles;
    }
    count.windows = CountWindows();
    for (UINT_PTR value = kFirstUserHandle; value <= kLastUserHandle; value += 2) {
        if (::IsMenu(Probe<HMENU>(value)))
            ++count.menus;
        if (IsCursorOrIcon(Probe<HICON>(value)))
            ++count.cursors;
    }
    for (UINT_PTR value = 1; value < kGdiHandleLimit; ++value) {
        const DWORD type = ::GetObjectType(Probe<HGDIOBJ>(value));
        if (type == 0)
            continue;
        ++count.gdiObjects;
        if (type == OBJ_FONT)
            ++count.fonts;
    }
    return count;
}

bool NoGrowth(const ResourceCount& before, const ResourceCount& after)
{
    return after.kernelHandles <= before.kernelHandles && after.windows <= before.windows &&
           after.menus <= before.menus && after.gdiObjects <= before.gdiObjects && after.fonts <= before.fonts &&
           after.cursors <= before.cursors;
}

std::ostream& operator<<(std::ostream& out, const ResourceCount& count)
{
    return out << "{kernel handles " << count.kernelHandles << ", windows " << count.windows << ", menus "
               << count.menus << ", GDI objects " << count.gdiObjects << " (fonts " << count.fonts << "), cursors "
               << count.cursors << "}";
}

long long PrivateBytes()
{
    long long total = 0;
    MEMORY_BASIC_INFORMATION region{};
    for (auto* address = static_cast<char*>(nullptr);
         ::VirtualQuery(address, &region, sizeof region) == sizeof region;
         address = static_cast<char*>(region.BaseAddress) + region.RegionSize) {
        if (region.State == MEM_COMMIT && region.Type == MEM_PRIVATE)
            total += static_cast<long long>(region.RegionSize);
    }
    return total;
}

long long HeapBytes()
{
    std::vector<HANDLE> heaps(64);
    for (;;) {
        const DWORD count = ::GetProcessHeaps(static_cast<DWORD>(heaps.size()), heaps.data());
        if (count <= heaps.size()) {
            heaps.resize(count);
            break;
        }
        heaps.resize(count);
    }
    long long total = 0;
    for (HANDLE heap : heaps) {
        if (!::HeapLock(heap))
            continue;
        PROCESS_HEAP_ENTRY entry{};
        while (::HeapWalk(heap, &entry))
            if (entry.wFlags & PROCESS_HEAP_ENTRY_BUSY)
                total += entry.cbData;
        ::HeapUnlock(heap);
    }
    return total;
}
