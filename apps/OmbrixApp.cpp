// Ombrix.exe entry point. The program so far only starts and ends: the start-up, tray and
// watch logic arrive with the runtime modules.

#include "platform/WinDefs.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) { return 0; }
