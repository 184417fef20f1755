#include "framework/Path.h"
#include <windows.h>

namespace {
// Both calls answer a too small buffer with the size they need, terminator included.
template <class Call>
std::string ReadGrowing(Call call)
{
    std::string text(MAX_PATH, '\0');
    for (;;) {
        DWORD n = call(static_cast<DWORD>(text.size()), text.data());
        if (n < text.size()) {
            text.resize(n);
            return text;
        }
        text.resize(n);
    }
}
} // namespace

std::string AfxGetCurrentDirectory()
{
    return ReadGrowing([](DWORD size, char* buffer) { return ::GetCurrentDirectoryA(size, buffer); });
}

std::string AfxGetFullPathName(const char* path)
{
    return ReadGrowing([path](DWORD size, char* buffer) { return ::GetFullPathNameA(path, size, buffer, nullptr); });
}

std::string AfxGetModuleFileName()
{
    // A cut name comes back filling the whole buffer: grow until it does not.
    std::string path(MAX_PATH, '\0');
    for (;;) {
        const DWORD n = ::GetModuleFileNameA(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (n < path.size()) {
            path.resize(n);
            return path;
        }
        path.resize(path.size() * 2);
    }
}
