// CDocument: the data the views show; Fernwick's holds nothing.
#pragma once
#include <string>
#include <vector>
#include "framework/CmdTarget.h"

class CDocument : public CCmdTarget {
public:
    ~CDocument() override;

    virtual BOOL OnNewDocument();
    // Destroys the frames showing the document, then the document itself.
    virtual void OnCloseDocument();

    void AddView(CView* pView);
    void RemoveView(CView* pView);
    CView* GetFirstView() const { return m_views.empty() ? nullptr : m_views.front(); }
    const std::string& GetTitle() const { return m_strTitle; }
    void SetTitle(const std::string& title) { m_strTitle = title; }
    CSingleDocTemplate* GetDocTemplate() const { return m_pDocTemplate; }

    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;

private:
    friend class CSingleDocTemplate;
    CSingleDocTemplate* m_pDocTemplate = nullptr;
    std::vector<CView*> m_views;
    std::string m_strTitle;
};
