// What this process holds, counted from inside it: under Wine GetProcessHandleCount and
// GetGuiResources report 0. The user and GDI counts probe handle values with a zero high
// word, which Wine takes for any generation of the handle; they count under Wine only.
#pragma once
#include <ostream>

struct ResourceCount {
    int kernelHandles = 0;
    int windows = 0; // top-level windows of the process and all their descendants
    int menus = 0;
    int gdiObjects = 0; // stock objects and fonts included
    int fonts = 0;
    int cursors = 0; // cursors and icons

    bool operator==(const ResourceCount&) const = default;
};

ResourceCount CountResources();
// Committed memory of the process's own (heaps, stacks, private allocations), in bytes.
long long PrivateBytes();
// The bytes of the blocks in use in all the process's heaps: a leak of a few bytes shows.
long long HeapBytes();
// No count of after is above before's.
bool NoGrowth(const ResourceCount& before, const ResourceCount& after);
std::ostream& operator<<(std::ostream& out, const ResourceCount& count);
