#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    MessageBoxA(nullptr, "Tallykeep", "Tallykeep", MB_OK);
    return 0;
}
