#include <windows.h>

#include "win/app/ProgramBody.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) { return ov::RunProgram(); }
