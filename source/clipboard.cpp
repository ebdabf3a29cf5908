// Puts one byte string on the clipboard as CF_TEXT, in place of everything that was there.
#include "clipboard.h"

#include <string.h>
#include <windows.h>

// Clipboard managers and remote-desktop sync hold the clipboard for a moment: wait for them, briefly.
enum { OpenTries = 10, OpenRetryDelayMs = 100 };

static bool OpenClipboardPatiently()
{
    for (int attempt = 1;; ++attempt) {
        if (OpenClipboard(NULL))
            return true;
        if (attempt == OpenTries)
            return false;
        Sleep(OpenRetryDelayMs);
    }
}

void PublishClipboardText(const char* text)
{
    // The block is filled before the clipboard is opened, so a failed allocation leaves the old content alone.
    SIZE_T size = strlen(text) + 1;
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, size);
    if (!block)
        return;
    void* bytes = GlobalLock(block);
    if (!bytes) {
        GlobalFree(block);
        return;
    }
    memcpy(bytes, text, size);
    GlobalUnlock(block);

    bool handed_over = false;
    if (OpenClipboardPatiently()) {
        EmptyClipboard();
        handed_over = SetClipboardData(CF_TEXT, block) != NULL;
        CloseClipboard();
    }
    // Once the clipboard has the block it is the system's; until then it is ours to free.
    if (!handed_over)
        GlobalFree(block);
}
