#include "framework/DocTemplate.h"
#include "framework/Document.h"
#include "framework/FrameWnd.h"
#include "framework/WinApp.h"

CSingleDocTemplate::CSingleDocTemplate(UINT nIDResource, CDocument* (*newDocument)(), CFrameWnd* (*newFrame)(),
                                       CView* (*newView)())
    : m_nIDResource(nIDResource), m_newDocument(newDocument), m_newFrame(newFrame), m_newView(newView)
{
}

CSingleDocTemplate::~CSingleDocTemplate()
{
    if (m_pOnlyDoc != nullptr)
        m_pOnlyDoc->m_pDocTemplate = nullptr;
}

CDocument* CSingleDocTemplate::OpenDocumentFile(const char*, BOOL bMakeVisible)
{
    if (m_pOnlyDoc != nullptr)
        return m_pOnlyDoc;

    CDocument* pDoc = m_newDocument();
    m_pOnlyDoc = pDoc;
    pDoc->m_pDocTemplate = this;

    CCreateContext context;
    context.m_pCurrentDoc = pDoc;
    context.m_pNewViewClass = m_newView;
    context.m_pNewDocTemplate = this;
    CFrameWnd* pFrame = m_newFrame();
    // A frame whose window came to exist deletes itself when it is destroyed.
    if (!pFrame->LoadFrame(m_nIDResource, WS_OVERLAPPEDWINDOW, nullptr, &context)) {
        delete pDoc;
        AfxMessageBox(AFX_IDP_FAILED_TO_CREATE_DOC);
        return nullptr;
    }

    pDoc->SetTitle(GetDocString(0));
    if (!pDoc->OnNewDocument()) {
        pFrame->DestroyWindow();
        delete pDoc;
        return nullptr;
    }

    CWinApp* app = AfxGetApp();
    if (app != nullptr && app->m_pMainWnd == nullptr)
        app->m_pMainWnd = pFrame;
    pFrame->InitialUpdateFrame(pDoc, bMakeVisible);
    return pDoc;
}

void CSingleDocTemplate::RemoveDocument(CDocument* pDoc)
{
    if (m_pOnlyDoc == pDoc)
        m_pOnlyDoc = nullptr;
}

void CSingleDocTemplate::CloseAllDocuments(BOOL)
{
    if (m_pOnlyDoc != nullptr)
        m_pOnlyDoc->OnCloseDocument();
}

std::string CSingleDocTemplate::GetDocString(int index) const
{
    std::string text = AfxLoadString(m_nIDResource);
    size_t start = 0;
    for (int i = 0; i < index && start != std::string::npos; ++i) {
        start = text.find('\n', start);
        if (start != std::string::npos)
            ++start;
    }
    if (start == std::string::npos)
        return {};
    return text.substr(start, text.find('\n', start) - start);
}
