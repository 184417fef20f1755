// CWnd: a window handle bound to a C++ object that receives its messages.
#pragma once
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include "framework/CmdTarget.h"
#include "framework/WinApp.h"

struct CCreateContext;

class CWnd : public CCmdTarget {
public:
    HWND m_hWnd = nullptr;

    CWnd() = default;
    ~CWnd() override; // destroys a window that still exists

    HWND GetSafeHwnd() const { return m_hWnd; }
    operator HWND() const { return m_hWnd; }

    // The object bound to a window; for a window without one, a temporary wrapper that
    // lives until the program next goes idle. Null for a null handle.
    static CWnd* FromHandle(HWND hWnd);
    static CWnd* FromHandlePermanent(HWND hWnd);
    static void DeleteTempMap();

    // className null: the framework's own window class.
    BOOL CreateEx(DWORD dwExStyle, const char* className, const char* windowName, DWORD dwStyle,
                  const RECT& rect, HWND hWndParent, HMENU hMenuOrId, void* lpParam = nullptr);
    virtual BOOL Create(const char* className, const char* windowName, DWORD dwStyle, const RECT& rect,
                        CWnd* pParentWnd, UINT nID, CCreateContext* pContext = nullptr);
    virtual BOOL DestroyWindow();
    // Routes an existing window's messages (a dialog control, a common control) to this
    // object through the system's subclassing; PreSubclassWindow runs first, with the object
    // already bound to the window.
    BOOL SubclassWindow(HWND hWnd);
    // What a window of the framework's classes was created with (CreateEx's lpParam): the
    // creation data carries the object as well.
    static void* CreationParam(LPARAM lParam);

    // A message the loop retrieved for this window or a child of it, before it is
    // dispatched; TRUE when it needs no dispatching.
    virtual BOOL PreTranslateMessage(MSG* pMsg);
    // Offers the message to its window's object, then to its parents' up to the top-level
    // window. Every message loop calls it before dispatching.
    static BOOL WalkPreTranslateTree(MSG* pMsg);
    // The main window's last active pop-up: the owner of message boxes and modal dialogs.
    static HWND GetSafeOwner();

    LRESULT SendMessage(UINT msg, WPARAM wParam = 0, LPARAM lParam = 0) const
    {
        return ::SendMessageA(m_hWnd, msg, wParam, lParam);
    }
    BOOL ShowWindow(int nCmdShow) const { return ::ShowWindow(m_hWnd, nCmdShow); }
    void UpdateWindow() const { ::UpdateWindow(m_hWnd); }
    // Unchanged text is not set again: a caption set is a caption repainted.
    void SetWindowText(const char* text) const;
    std::string GetWindowText() const;
    BOOL IsWindowVisible() const { return ::IsWindowVisible(m_hWnd); }
    BOOL IsIconic() const { return ::IsIconic(m_hWnd); }
    HWND SetFocus() const { return ::SetFocus(m_hWnd); }
    BOOL SetWindowPos(HWND hWndInsertAfter, int x, int y, int cx, int cy, UINT nFlags) const
    {
        return ::SetWindowPos(m_hWnd, hWndInsertAfter, x, y, cx, cy, nFlags);
    }
    void GetClientRect(RECT* rect) const { ::GetClientRect(m_hWnd, rect); }
    void GetWindowRect(RECT* rect) const { ::GetWindowRect(m_hWnd, rect); }
    BOOL InvalidateRect(const RECT* rect, BOOL bErase = TRUE) const { return ::InvalidateRect(m_hWnd, rect, bErase); }
    HFONT GetFont() const { return reinterpret_cast<HFONT>(SendMessage(WM_GETFONT)); }
    void SetFont(HFONT hFont, BOOL bRedraw = TRUE) const
    {
        SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(hFont), bRedraw);
    }
    UINT_PTR SetTimer(UINT_PTR nIDEvent, UINT nElapse) const { return ::SetTimer(m_hWnd, nIDEvent, nElapse, nullptr); }
    BOOL KillTimer(UINT_PTR nIDEvent) const { return ::KillTimer(m_hWnd, nIDEvent); }
    BOOL SetDlgItemText(int nID, const char* text) const { return ::SetDlgItemTextA(m_hWnd, nID, text); }
    void ClientToScreen(RECT* rect) const { ::MapWindowPoints(m_hWnd, nullptr, reinterpret_cast<POINT*>(rect), 2); }
    void ScreenToClient(POINT* pt) const { ::ScreenToClient(m_hWnd, pt); }
    HWND GetParent() const { return ::GetParent(m_hWnd); }
    DWORD GetStyle() const { return static_cast<DWORD>(::GetWindowLongPtrA(m_hWnd, GWL_STYLE)); }
    BOOL ModifyStyle(DWORD dwRemove, DWORD dwAdd, UINT nFlags = 0) const;
    BOOL ModifyStyleEx(DWORD dwRemove, DWORD dwAdd, UINT nFlags = 0) const;
    void SetRedraw(BOOL bRedraw = TRUE) const { SendMessage(WM_SETREDRAW, bRedraw); }
    BOOL GetWindowPlacement(WINDOWPLACEMENT* wp) const;
    BOOL SetWindowPlacement(WINDOWPLACEMENT* wp) const;
    void SendMessageToDescendants(UINT msg, WPARAM wParam = 0, LPARAM lParam = 0) const;

protected:
    // The class's message switch; unhandled messages go to Default().
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    // The window class's own processing of the message being handled.
    LRESULT Default();
    virtual BOOL PreCreateWindow(CREATESTRUCTA& cs);
    // Registers a window class of the framework's (messages reach the bound object) once.
    static void RegisterWindowClass(const char* name, HICON hIcon, int backgroundColor);
    // Called after WM_NCDESTROY, when the handle is gone; auto-deleting windows delete here.
    virtual void PostNcDestroy() {}
    // A control that sets itself up when bound to an existing window does it here.
    virtual void PreSubclassWindow() {}
    // A menu or accelerator command, or a control's WM_COMMAND its own handler left alone.
    virtual BOOL OnCommand(WPARAM wParam, LPARAM lParam);
    // A child's notification its own handler left alone; routed by control id and code.
    virtual BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    // A menu that the window owns is about to open: its items may still be filled in.
    virtual void OnInitMenuPopup(HMENU hPopup, UINT nIndex, BOOL bSysMenu);
    // A notification or colour request this window sent to its parent, offered back to it
    // first (WM_NOTIFY, WM_COMMAND, WM_CTLCOLOR*). TRUE ends it with *pResult.
    virtual BOOL OnReflect(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);

private:
    struct CurrentMessage {
        UINT message = 0;
        WPARAM wParam = 0;
        LPARAM lParam = 0;
    };

    struct CreationData {
        CWnd* wnd;
        void* param;
        bool bound; // set at WM_NCCREATE: the window is of the framework's classes
    };

    static LRESULT CALLBACK AfxWndProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK SubclassProcW(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
    // The one way in for every message of a bound window.
    static LRESULT Dispatch(CWnd* wnd, HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
    void Attach(HWND hWnd);
    BOOL ReflectToChild(HWND hWndChild, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);

    // A window of another class: its own procedure, called in the character set it was given.
    WNDPROC m_pfnSuper = nullptr;
    bool m_bSuperUnicode = false;
    CurrentMessage m_current;
    std::optional<CModalScope> m_menuLoop; // from WM_ENTERMENULOOP to WM_EXITMENULOOP

    static std::unordered_map<HWND, CWnd*> s_permanent;
    static std::unordered_map<HWND, std::unique_ptr<CWnd>> s_temporary;
};
