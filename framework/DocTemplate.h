// CSingleDocTemplate: ties one document class to its frame and view classes.
#pragma once
#include <string>
#include "framework/CmdTarget.h"

// Creates an object of class T as its framework base class B.
template <class B, class T>
B* AfxNew()
{
    return new T;
}

// What the frame needs while it creates its view.
struct CCreateContext {
    CDocument* m_pCurrentDoc = nullptr;
    CView* (*m_pNewViewClass)() = nullptr;
    CSingleDocTemplate* m_pNewDocTemplate = nullptr;
};

class CSingleDocTemplate : public CCmdTarget {
public:
    CSingleDocTemplate(UINT nIDResource, CDocument* (*newDocument)(), CFrameWnd* (*newFrame)(),
                       CView* (*newView)());
    ~CSingleDocTemplate() override;

    // Creates the (one) document, its frame and view and shows them; null on failure,
    // after the framework's message.
    CDocument* OpenDocumentFile(const char* pathName, BOOL bMakeVisible = TRUE);
    CDocument* GetFirstDoc() const { return m_pOnlyDoc; }
    void RemoveDocument(CDocument* pDoc);
    void CloseAllDocuments(BOOL bEndSession);
    // Field n of the template string (0: window title).
    std::string GetDocString(int index) const;

    const UINT m_nIDResource;

private:
    CDocument* (*m_newDocument)();
    CFrameWnd* (*m_newFrame)();
    CView* (*m_newView)();
    CDocument* m_pOnlyDoc = nullptr;
};
