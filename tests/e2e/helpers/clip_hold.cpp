// Holds the clipboard open with a window of its own, as a clipboard manager does for a moment.
//
// clip_hold REPORT READY_FILE RELEASE_FILE MAX_MS
//   creates READY_FILE once it holds the clipboard; lets go when RELEASE_FILE appears or after MAX_MS
#include "report.h"

#include <stdlib.h>

int main(int argc, char** argv)
{
    if (argc < 5)
        return 2;
    FILE* report = OpenReport(argv[1]);
    DWORD max_ms = strtoul(argv[4], NULL, 10);
    // Wine keeps two openers apart only when the holder names a window.
    HWND window = CreateWindowExA(0, "STATIC", "clipboard holder", WS_POPUP, 0, 0, 1, 1, NULL, NULL,
                                  GetModuleHandleA(NULL), NULL);
    bool opened = false;
    for (int attempt = 0; attempt < 100 && window && !(opened = OpenClipboard(window)); ++attempt)
        Sleep(50);
    if (!opened) {
        fprintf(report, "error OpenClipboard %lu\n", GetLastError());
        return 1;
    }
    DWORD start = GetTickCount();
    TouchFile(argv[2]);
    while (GetTickCount() - start < max_ms && !FileExists(argv[3])) {
        MsgWaitForMultipleObjects(0, NULL, FALSE, 10, QS_ALLINPUT);
        MSG message;
        while (PeekMessageA(&message, NULL, 0, 0, PM_REMOVE))
            DispatchMessageA(&message);
    }
    DWORD held = GetTickCount() - start;
    CloseClipboard();
    DestroyWindow(window);
    fprintf(report, "held_ms %lu\n", held);
    fclose(report);
    return 0;
}
