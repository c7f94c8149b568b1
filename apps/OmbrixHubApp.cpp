// OmbrixHub.exe entry point. The control center's window arrives with its own module; until
// then the program only starts and ends.

#include "platform/WinDefs.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) { return 0; }
