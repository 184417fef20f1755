// The switches a start of Fernwick.exe takes besides the root folder: "/find" shows the find
// window at the pointer, "/menu" the tray menu. No windows.h, so that it is built natively too.
#pragma once
#include <optional>
#include <string_view>

// Also the wParam of the message a second start posts to the running instance; older
// instances read none and only show their window.
enum class StartRequest : unsigned {
    Show = 0,
    Find = 1,
    Menu = 2,
};

// The switch an argument (as the ANSI argument vector holds it) is, in any letter case;
// nothing for every other argument.
std::optional<StartRequest> StartSwitch(std::string_view argument);
