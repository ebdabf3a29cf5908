// The least a clipboard tool can do: one fixed byte on the clipboard as CF_TEXT, then exit.
#include <windows.h>

extern "C" void WINAPI StartProgram()
{
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, 2);
    char* bytes = block ? static_cast<char*>(GlobalLock(block)) : NULL;
    if (bytes) {
        bytes[0] = 'x';
        bytes[1] = '\0';
        GlobalUnlock(block);
        if (OpenClipboard(NULL)) {
            EmptyClipboard();
            SetClipboardData(CF_TEXT, block);
            CloseClipboard();
        }
    }
    ExitProcess(0);
}
