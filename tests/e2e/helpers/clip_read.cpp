// Reports every format on the clipboard and, for the memory-block formats, the block's size and bytes.
//
// clip_read REPORT [TEXT_FILE]   TEXT_FILE receives the CF_TEXT bytes up to their terminator, raw
#include "report.h"

// Formats whose data is a global memory block; others (bitmaps, palettes) are only listed.
static bool IsMemoryBlock(UINT format)
{
    return format == CF_TEXT || format == CF_OEMTEXT || format == CF_UNICODETEXT || format == CF_LOCALE
        || format == CF_HDROP || format >= 0xC000;
}

int main(int argc, char** argv)
{
    if (argc < 2)
        return 2;
    FILE* report = OpenReport(argv[1]);
    if (!OpenClipboardOrReport(report))
        return 1;
    for (UINT format = EnumClipboardFormats(0); format; format = EnumClipboardFormats(format)) {
        char name[256] = "";
        GetClipboardFormatNameA(format, name, sizeof name);
        char key[64];
        snprintf(key, sizeof key, "format %u", format);
        ReportBytes(report, key, name, strlen(name));
    }
    for (UINT format = EnumClipboardFormats(0); format; format = EnumClipboardFormats(format)) {
        if (!IsMemoryBlock(format))
            continue;
        HGLOBAL block = GetClipboardData(format);
        if (!block)
            continue;
        SIZE_T size = GlobalSize(block);
        const void* bytes = GlobalLock(block);
        char key[64];
        snprintf(key, sizeof key, "data %u %lu", format, static_cast<unsigned long>(size));
        ReportBytes(report, key, bytes, bytes ? size : 0);
        if (format == CF_TEXT && argc > 2 && bytes) {
            FILE* text = fopen(argv[2], "wb");
            if (text) {
                fwrite(bytes, 1, strnlen(static_cast<const char*>(bytes), size), text);
                fclose(text);
            }
        }
        GlobalUnlock(block);
    }
    CloseClipboard();
    fprintf(report, "done 1\n");
    fclose(report);
    return 0;
}
