// The resources as the program reads them back: the document string's fields, code page 932
// text, the icon in both sizes.
#include <gtest/gtest.h>
#include <windows.h>
#include <algorithm>
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
    // The resource file is UTF-8: its Japanese text must reach the program as code page 932
    // that converts back whole, with no character lost to a question mark.
    const std::string message = AfxLoadString(AFX_IDP_FAILED_TO_CREATE_DOC);
    ASSERT_FALSE(message.empty());
    wchar_t wide[256];
    EXPECT_GT(::MultiByteToWideChar(932, MB_ERR_INVALID_CHARS, message.data(), static_cast<int>(message.size()), wide,
                                    256),
              0);
    EXPECT_EQ(message.find('?'), std::string::npos) << message;
    EXPECT_NE(std::count_if(message.begin(), message.end(), [](char c) { return static_cast<unsigned char>(c) >= 0x80; }), 0)
        << "the message is in Japanese";
    for (int size : {16, 32}) {
        UniqueIcon icon(static_cast<HICON>(
            ::LoadImageA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_MAINFRAME), IMAGE_ICON, size, size, 0)));
        EXPECT_TRUE(icon) << size;
    }
}
} // namespace
