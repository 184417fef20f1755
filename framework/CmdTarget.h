// Command routing: every object that can handle a menu command derives from CCmdTarget.
#pragma once
#include "framework/Afx.h"

// Filled when OnCmdMsg is only asked whether a handler exists.
struct AFX_CMDHANDLERINFO {
    CCmdTarget* pTarget = nullptr;
};

// The state of one command's user interface (a menu item), set by update handlers.
class CCmdUI {
public:
    UINT m_nID = 0;
    UINT m_nIndex = 0;
    HMENU m_hMenu = nullptr; // null: only record what the handlers ask for
    bool m_bEnabled = true;
    bool m_bEnableChanged = false;

    void Enable(BOOL bOn = TRUE);
    void SetCheck(int nCheck = 1);

    // Runs the update handler on the target's route; without one, and when asked,
    // enables the item exactly when a command handler exists.
    BOOL DoUpdate(CCmdTarget* pTarget, BOOL bDisableIfNoHandler);
};

// One command or update request offered to one class's own entries.
struct CCmdEntry {
    UINT nID;
    int nCode;
    void* pExtra;
    AFX_CMDHANDLERINFO* pHandlerInfo;

    template <class T>
    BOOL Command(T* target, void (T::*handler)()) const
    {
        if (nCode != CN_COMMAND)
            return FALSE;
        if (!Found(target))
            (target->*handler)();
        return TRUE;
    }

    template <class T>
    BOOL Update(T* target, void (T::*handler)(CCmdUI*)) const
    {
        if (nCode != CN_UPDATE_COMMAND_UI)
            return FALSE;
        if (!Found(target))
            (target->*handler)(static_cast<CCmdUI*>(pExtra));
        return TRUE;
    }

private:
    // A handler lookup names the target and runs nothing.
    bool Found(CCmdTarget* target) const
    {
        if (pHandlerInfo == nullptr)
            return false;
        pHandlerInfo->pTarget = target;
        return true;
    }
};

class CCmdTarget {
public:
    CCmdTarget() = default;
    CCmdTarget(const CCmdTarget&) = delete;
    CCmdTarget& operator=(const CCmdTarget&) = delete;
    virtual ~CCmdTarget() = default;

    // Routes a command (nCode CN_COMMAND) or an update request (CN_UPDATE_COMMAND_UI).
    // With pHandlerInfo set it only answers whether a handler exists.
    virtual BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo);

protected:
    // The class's own command entries: a switch on entry.nID; derived classes end with
    // their base class's entries.
    virtual BOOL OnCommandEntry(const CCmdEntry& entry);
};
