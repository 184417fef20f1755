// The program's entry and its one application object.
#include "app/FernwickApp.h"

CFernwickApp theApp;

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE, LPSTR, int)
{
    return AfxWinMain(hInstance);
}
