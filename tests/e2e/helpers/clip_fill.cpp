// Puts earlier content on the clipboard in three formats: text, a file list and a private format.
//
// clip_fill REPORT
#include "report.h"

#include <shlobj.h>

static const char EarlierText[] = "earlier text \xe9";
static const char EarlierFile[] = "C:\\earlier\\list.txt\0";  // a DROPFILES list ends with two zeros
static const char PrivateBytes[] = "private\x01\xff";
static const char PrivateFormatName[] = "Quillmote e2e private";

static HGLOBAL BlockOf(const void* bytes, SIZE_T size, SIZE_T offset = 0)
{
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, offset + size);
    char* data = static_cast<char*>(GlobalLock(block));
    memcpy(data + offset, bytes, size);
    GlobalUnlock(block);
    return block;
}

int main(int argc, char** argv)
{
    if (argc < 2)
        return 2;
    FILE* report = OpenReport(argv[1]);
    if (!OpenClipboardOrReport(report))
        return 1;
    EmptyClipboard();
    bool ok = SetClipboardData(CF_TEXT, BlockOf(EarlierText, sizeof EarlierText)) != NULL;

    HGLOBAL files = BlockOf(EarlierFile, sizeof EarlierFile, sizeof(DROPFILES));
    DROPFILES* header = static_cast<DROPFILES*>(GlobalLock(files));
    header->pFiles = sizeof(DROPFILES);
    header->fWide = FALSE;
    GlobalUnlock(files);
    ok = SetClipboardData(CF_HDROP, files) != NULL && ok;

    UINT private_format = RegisterClipboardFormatA(PrivateFormatName);
    ok = private_format && SetClipboardData(private_format, BlockOf(PrivateBytes, sizeof PrivateBytes)) != NULL && ok;
    CloseClipboard();
    fprintf(report, "private_format %u\n", private_format);
    fprintf(report, "filled %d\n", ok);
    fclose(report);
    return ok ? 0 : 1;
}
