#include "framework/Registry.h"
#include <algorithm>
#include "framework/Handles.h"

LONG AfxRegQueryDefaultText(HKEY hKey, const char* subKeyName, std::string& out, DWORD* pType)
{
    HKEY opened = nullptr;
    const LONG openError = ::RegOpenKeyExA(hKey, subKeyName, 0, KEY_QUERY_VALUE, &opened);
    if (openError != ERROR_SUCCESS)
        return openError;
    UniqueRegKey subKey(opened);
    char value[MAX_PATH];
    DWORD type = 0;
    DWORD size = sizeof value;
    const LONG queryError =
        ::RegQueryValueExA(subKey.get(), nullptr, nullptr, &type, reinterpret_cast<BYTE*>(value), &size);
    if (queryError != ERROR_SUCCESS)
        return queryError;
    if (type != REG_SZ && type != REG_EXPAND_SZ)
        return ERROR_INVALID_DATA;
    // A value stored without its terminator must still leave room for one.
    const auto length = static_cast<size_t>(std::find(value, value + size, '\0') - value);
    if (length >= sizeof value)
        return ERROR_MORE_DATA;
    out.assign(value, length);
    if (pType != nullptr)
        *pType = type;
    return ERROR_SUCCESS;
}
