// The program's own entry: the about box when there is nothing to copy, else the clipboard.
#pragma once

#include <windows.h>

int WINAPI ProgramEntry(HINSTANCE instance, HINSTANCE previous_instance, const char* argument_text, int show_command);
void ShowAboutBox();
extern "C" void WINAPI StartProgram();  // the executable's entry point, in place of the C runtime's
