// The program's entry and its one application object.
#include "app/FernwickApp.h"
#include "framework/DllSearch.h"

CFernwickApp theApp;

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE, LPSTR, int)
{
    AfxLimitDllSearch();
    return AfxWinMain(hInstance);
}
