// CStatic: the static control. Its operations are those every window has.
#pragma once
#include "framework/Wnd.h"

class CStatic : public CWnd {};
