#include "tools/bench/FloorMenu.h"
#include "res/resource.h"
#include "tools/bench/Listing.h"
#include "tools/bench/Measure.h"

namespace {
constexpr int kFixedItems = 12;
} // namespace

void AppendFixedItems(HMENU menu)
{
    for (int i = 0; i < kFixedItems; ++i)
        ::AppendMenuA(menu, i % 2 == 0 ? MF_SEPARATOR : MF_STRING, ID_FILE_REFRESH, "item");
}

void AppendLevel(HMENU menu, const std::string& folder, UINT& nextId)
{
    const Listing listing = ListFolder(folder);
    for (const std::string& name : listing.folders)
        ::AppendMenuA(menu, MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(::CreatePopupMenu()), name.c_str());
    for (const std::string& name : listing.files)
        ::AppendMenuA(menu, MF_STRING, nextId++, name.c_str());
}

double OpenAndPaint(HMENU menu, HWND owner, POINT at)
{
    ::PostMessageA(owner, WM_KEYDOWN, VK_ESCAPE, 0);
    const double start = NowMs();
    ::TrackPopupMenu(menu, TPM_RIGHTBUTTON, at.x, at.y, 0, owner, nullptr);
    return NowMs() - start;
}
