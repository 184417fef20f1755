#include "frame/StartSwitch.h"

namespace {
bool SameSwitch(std::string_view argument, std::string_view name)
{
    if (argument.size() != name.size())
        return false;
    for (std::size_t i = 0; i < name.size(); ++i) {
        const char c = argument[i];
        if ((c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c) != name[i])
            return false;
    }
    return true;
}
} // namespace

std::optional<StartRequest> StartSwitch(std::string_view argument)
{
    if (SameSwitch(argument, "/find"))
        return StartRequest::Find;
    if (SameSwitch(argument, "/menu"))
        return StartRequest::Menu;
    return std::nullopt;
}
