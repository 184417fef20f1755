// CTreeCtrl: the tree-view common control; each operation is the control message of the
// same name.
#pragma once
#include <string>
#include "framework/Wnd.h"

class CTreeCtrl : public CWnd {
public:
    BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);

    HTREEITEM InsertItem(const TVINSERTSTRUCTA& insert) const
    {
        return reinterpret_cast<HTREEITEM>(SendMessage(TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&insert)));
    }
    // An item whose text code page 932 cannot spell, in the same control.
    HTREEITEM InsertItem(const TVINSERTSTRUCTW& insert) const
    {
        return reinterpret_cast<HTREEITEM>(SendMessage(TVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&insert)));
    }
    BOOL DeleteItem(HTREEITEM hItem) const
    {
        return static_cast<BOOL>(SendMessage(TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(hItem)));
    }
    BOOL DeleteAllItems() const { return DeleteItem(TVI_ROOT); }
    HTREEITEM GetNextItem(HTREEITEM hItem, UINT nCode) const
    {
        return reinterpret_cast<HTREEITEM>(SendMessage(TVM_GETNEXTITEM, nCode, reinterpret_cast<LPARAM>(hItem)));
    }
    HTREEITEM GetChildItem(HTREEITEM hItem) const { return GetNextItem(hItem, TVGN_CHILD); }
    HTREEITEM GetNextSiblingItem(HTREEITEM hItem) const { return GetNextItem(hItem, TVGN_NEXT); }
    HTREEITEM GetPrevSiblingItem(HTREEITEM hItem) const { return GetNextItem(hItem, TVGN_PREVIOUS); }
    HTREEITEM GetParentItem(HTREEITEM hItem) const { return GetNextItem(hItem, TVGN_PARENT); }
    HTREEITEM GetRootItem() const { return GetNextItem(nullptr, TVGN_ROOT); }
    HTREEITEM GetSelectedItem() const { return GetNextItem(nullptr, TVGN_CARET); }
    BOOL SelectItem(HTREEITEM hItem) const
    {
        return static_cast<BOOL>(SendMessage(TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(hItem)));
    }
    // Scrolls so that the item is the first one shown.
    BOOL SelectSetFirstVisible(HTREEITEM hItem) const
    {
        return static_cast<BOOL>(SendMessage(TVM_SELECTITEM, TVGN_FIRSTVISIBLE, reinterpret_cast<LPARAM>(hItem)));
    }
    BOOL Expand(HTREEITEM hItem, UINT nCode) const
    {
        return static_cast<BOOL>(SendMessage(TVM_EXPAND, nCode, reinterpret_cast<LPARAM>(hItem)));
    }
    BOOL GetItem(TVITEMA* item) const
    {
        return static_cast<BOOL>(SendMessage(TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(item)));
    }
    BOOL SetItem(const TVITEMA& item) const
    {
        return static_cast<BOOL>(SendMessage(TVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&item)));
    }
    std::string GetItemText(HTREEITEM hItem) const;
    std::wstring GetItemTextW(HTREEITEM hItem) const;
    DWORD_PTR GetItemData(HTREEITEM hItem) const;
    BOOL SetItemData(HTREEITEM hItem, DWORD_PTR data) const;
    UINT GetItemState(HTREEITEM hItem, UINT nStateMask) const
    {
        return static_cast<UINT>(SendMessage(TVM_GETITEMSTATE, reinterpret_cast<WPARAM>(hItem), nStateMask));
    }
    BOOL SetItemState(HTREEITEM hItem, UINT nState, UINT nStateMask) const
    {
        TVITEMA item{};
        item.mask = TVIF_STATE;
        item.hItem = hItem;
        item.state = nState;
        item.stateMask = nStateMask;
        return SetItem(item);
    }
    HIMAGELIST GetImageList(int nImageList) const
    {
        return reinterpret_cast<HIMAGELIST>(SendMessage(TVM_GETIMAGELIST, nImageList));
    }
    HIMAGELIST SetImageList(HIMAGELIST hImageList, int nImageList) const
    {
        return reinterpret_cast<HIMAGELIST>(
            SendMessage(TVM_SETIMAGELIST, nImageList, reinterpret_cast<LPARAM>(hImageList)));
    }
    UINT GetIndent() const { return static_cast<UINT>(SendMessage(TVM_GETINDENT)); }
    BOOL SetIndent(UINT nIndent) const { return static_cast<BOOL>(SendMessage(TVM_SETINDENT, nIndent)); }
    SHORT GetItemHeight() const { return static_cast<SHORT>(SendMessage(TVM_GETITEMHEIGHT)); }
    // -1: the height the font and the images give.
    SHORT SetItemHeight(SHORT cyHeight) const
    {
        return static_cast<SHORT>(SendMessage(TVM_SETITEMHEIGHT, static_cast<WPARAM>(cyHeight)));
    }
    UINT GetCount() const { return static_cast<UINT>(SendMessage(TVM_GETCOUNT)); }
    // bTextOnly FALSE: the whole line the item occupies.
    BOOL GetItemRect(HTREEITEM hItem, RECT* rect, BOOL bTextOnly) const
    {
        *reinterpret_cast<HTREEITEM*>(rect) = hItem;
        return static_cast<BOOL>(SendMessage(TVM_GETITEMRECT, bTextOnly, reinterpret_cast<LPARAM>(rect)));
    }
    HTREEITEM HitTest(POINT pt, UINT* pFlags = nullptr) const
    {
        TVHITTESTINFO info{};
        info.pt = pt;
        auto hItem = reinterpret_cast<HTREEITEM>(SendMessage(TVM_HITTEST, 0, reinterpret_cast<LPARAM>(&info)));
        if (pFlags != nullptr)
            *pFlags = info.flags;
        return hItem;
    }
};
