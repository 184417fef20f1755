#include "framework/ShellCalls.h"

CShellCalls g_shellCalls = {
    ::MessageBoxA,
};
