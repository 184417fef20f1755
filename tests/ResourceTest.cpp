// The resources as the program reads them back: code page 932 text, exactly as captioned.
#include <gtest/gtest.h>
#include <windows.h>
#include "framework/DocTemplate.h"
#include "framework/Handles.h"
#include "framework/WinApp.h"
#include "res/resource.h"

namespace {
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
