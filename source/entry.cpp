// Start-up of the program: the about box when there is nothing to copy, else the clipboard.
#include "entry.h"

#include "argument_text.h"
#include "clipboard.h"

// Bare line feeds: the message box breaks lines on them, and the text ends with one.
static const char AboutText[] =
    "Quillmote.exe\n"
    "Copyright (C) 2026 the Quillmote developers\n"
    "https://quillmote.example\n"
    "\n"
    "Software without warranty, use on your own risk.\n"
    "\n"
    "This program copies command line arguments to the clipboard.\n";

void ShowAboutBox()
{
    MessageBoxA(NULL, AboutText, "Quillmote", MB_ICONINFORMATION);
}

int WINAPI ProgramEntry(HINSTANCE, HINSTANCE, const char* argument_text, int)
{
    // Empty is decided before the cap and the quote removal: "" publishes an empty text.
    if (!*argument_text) {
        ShowAboutBox();
        return 0;
    }
    char argument_buffer[ArgumentBufferSize];
    NormalizeArgumentText(argument_text, argument_buffer);
    PublishClipboardText(argument_buffer);
    return 0;
}

// Our own entry point in place of the C runtime's: its argument split follows other rules,
// and its start-up code alone would be several times the size of the whole program.
extern "C" void WINAPI StartProgram()
{
    CPINFO code_page;
    if (GetCPInfo(GetACP(), &code_page))
        BuildLeadByteTable(code_page.LeadByte, sizeof code_page.LeadByte);

    STARTUPINFOA startup;
    startup.cb = sizeof startup;
    GetStartupInfoA(&startup);
    int show_command = (startup.dwFlags & STARTF_USESHOWWINDOW) ? startup.wShowWindow : SW_SHOWDEFAULT;

    const char* argument_text = FindArgumentText(GetCommandLineA());
    ExitProcess(ProgramEntry(GetModuleHandleA(NULL), NULL, argument_text, show_command));
}
