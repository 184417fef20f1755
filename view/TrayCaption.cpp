#include "view/TrayCaption.h"
#include <utility>
#include "mbcs/Mbcs.h"

std::string TrayCaption(std::string_view fullPath, std::string_view name)
{
    PathParts parts = SplitPath(fullPath);
    const char* ext = parts.ext.c_str();
    if (CompareNoCase(ext, ".lnk") == 0 || CompareNoCase(ext, ".url") == 0)
        return std::move(parts.fname);
    return std::string(name);
}
