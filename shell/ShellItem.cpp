#include "shell/ShellItem.h"

CShellItem::CShellItem(const std::wstring& path)
{
    if (FAILED(::SHParseDisplayName(path.c_str(), nullptr, &m_idList, 0, nullptr)))
        return;
    if (FAILED(::SHBindToParent(m_idList, IID_IShellFolder, m_parent.out(), &m_child)))
        m_child = nullptr;
}

CShellItem::~CShellItem()
{
    ::CoTaskMemFree(m_idList);
}

HRESULT CShellItem::GetUIObject(HWND owner, REFIID riid, void** object) const
{
    *object = nullptr;
    if (!IsValid())
        return HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND);
    PCUITEMID_CHILD children[] = {m_child};
    return m_parent->GetUIObjectOf(owner, 1, children, riid, nullptr, object);
}
