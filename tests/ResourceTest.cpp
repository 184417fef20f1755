// The resources as the program reads them back: code page 932 text, exactly as captioned.
#include <gtest/gtest.h>
#include <windows.h>
#include "framework/DocTemplate.h"
#include "framework/Handles.h"
#include "framework/WinApp.h"
#include "res/resource.h"

namespace {
std::string MenuText(HMENU menu, UINT position)
{
    char text[128] = {};
    ::GetMenuStringA(menu, position, text, sizeof text, MF_BYPOSITION);
    return text;
}

struct Item {
    std::string text; // empty: a separator
    UINT id;
};

TEST(ResourceTest, MainMenuHasEveryPopupAndItemAsCaptioned)
{
    UniqueMenu menu(::LoadMenuA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_MAINFRAME)));
    ASSERT_TRUE(menu);
    const std::vector<std::pair<std::string, std::vector<Item>>> expected{
        {"\x83\x74\x83\x40\x83\x43\x83\x8B\x28\x26\x46\x29", // File(&F)
         {{"\x8D\x58\x90\x56\x28\x26\x46\x29", ID_FILE_REFRESH}, // Refresh(&F)
          {"", 0},
          {"\x83\x8B\x81\x5B\x83\x67\x83\x74\x83\x48\x83\x8B\x83\x5F\x82\xF0\x8A\x4A\x82\xAD\x28\x26\x4F\x29",
           ID_FILE_OPEN_ROOT}, // Open root folder(&O)
          {"", 0},
          {"\x8F\x49\x97\xB9\x28\x26\x58\x29", ID_APP_EXIT}}}, // Exit(&X)
        {"\x95\x5C\x8E\xA6\x28\x26\x56\x29", // View(&V)
         {{"\x8D\xC5\x91\x4F\x96\xCA\x82\xC9\x95\x5C\x8E\xA6\x28\x26\x54\x29", ID_VIEW_TOPMOST}}}, // Always on top(&T)
        {"\x83\x77\x83\x8B\x83\x76\x28\x26\x48\x29", // Help(&H)
         {{"\x83\x6F\x81\x5B\x83\x57\x83\x87\x83\x93\x8F\xEE\x95\xF1\x28\x26\x41\x29\x2E\x2E\x2E",
           ID_APP_ABOUT}}}, // Version information(&A)...
    };
    ASSERT_EQ(::GetMenuItemCount(menu.get()), static_cast<int>(expected.size()));
    for (UINT p = 0; p < expected.size(); ++p) {
        EXPECT_EQ(MenuText(menu.get(), p), expected[p].first);
        HMENU popup = ::GetSubMenu(menu.get(), static_cast<int>(p));
        ASSERT_NE(popup, nullptr);
        const auto& items = expected[p].second;
        ASSERT_EQ(::GetMenuItemCount(popup), static_cast<int>(items.size()));
        for (UINT i = 0; i < items.size(); ++i) {
            EXPECT_EQ(MenuText(popup, i), items[i].text);
            EXPECT_EQ(::GetMenuItemID(popup, static_cast<int>(i)), items[i].id);
        }
    }
}

TEST(ResourceTest, StringsAndIcon)
{
    CWinApp app;
    EXPECT_EQ(AfxLoadString(AFX_IDS_APP_TITLE), "Fernwick");
    CSingleDocTemplate docTemplate(IDR_MAINFRAME, nullptr, nullptr, nullptr);
    EXPECT_EQ(docTemplate.GetDocString(0), "Fernwick");
    EXPECT_EQ(docTemplate.GetDocString(5), "Fernwick.Document");
    EXPECT_EQ(docTemplate.GetDocString(3), "") << "no filter";
    EXPECT_EQ(docTemplate.GetDocString(4), "") << "no extension";
    EXPECT_EQ(AfxLoadString(AFX_IDP_FAILED_TO_CREATE_DOC),
              "\x8B\xF3\x82\xCC\xC4\xDE\xB7\xAD\xD2\xDD\xC4\x82\xCC\x8D\xEC\x90\xAC\x82\xC9\x8E\xB8\x94\x73\x82\xB5\x82"
              "\xDC\x82\xB5\x82\xBD\x81\x42");
    for (int size : {16, 32}) {
        UniqueIcon icon(static_cast<HICON>(
            ::LoadImageA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_MAINFRAME), IMAGE_ICON, size, size, 0)));
        EXPECT_TRUE(icon) << size;
    }
}
} // namespace
