// The few Win32 declarations the program uses, for host builds against the recording fake.
// Written from what each call must do; sizes and layouts need only hold on the host.
#pragma once

#include <stddef.h>
#include <stdint.h>

#define WINAPI

typedef int BOOL;
typedef unsigned char BYTE;
typedef unsigned short WORD;
typedef uint32_t DWORD;
typedef unsigned int UINT;
typedef size_t SIZE_T;
typedef char* LPSTR;
typedef const char* LPCSTR;

// Distinct pointer types, so that handing one kind of handle where another is due does not compile.
typedef void* HANDLE;
typedef HANDLE HGLOBAL;
typedef struct FakeWindow* HWND;
typedef struct FakeModule* HINSTANCE;

#define CF_TEXT 1
#define GMEM_MOVEABLE 0x0002
#define MB_ICONINFORMATION 0x00000040
#define IDOK 1
#define STARTF_USESHOWWINDOW 0x00000001
#define SW_SHOWDEFAULT 10

typedef struct {
    UINT MaxCharSize;
    BYTE DefaultChar[2];
    BYTE LeadByte[12];  // pairs of first and last lead byte, ended by a pair of zeros
} CPINFO;

typedef struct {
    DWORD cb;
    LPSTR lpReserved;
    LPSTR lpDesktop;
    LPSTR lpTitle;
    DWORD dwX;
    DWORD dwY;
    DWORD dwXSize;
    DWORD dwYSize;
    DWORD dwXCountChars;
    DWORD dwYCountChars;
    DWORD dwFillAttribute;
    DWORD dwFlags;
    WORD wShowWindow;
    WORD cbReserved2;
    BYTE* lpReserved2;
    HANDLE hStdInput;
    HANDLE hStdOutput;
    HANDLE hStdError;
} STARTUPINFOA;

extern "C" {

BOOL WINAPI OpenClipboard(HWND owner);
BOOL WINAPI EmptyClipboard();
HANDLE WINAPI SetClipboardData(UINT format, HANDLE data);
BOOL WINAPI CloseClipboard();

HGLOBAL WINAPI GlobalAlloc(UINT flags, SIZE_T bytes);
void* WINAPI GlobalLock(HGLOBAL block);
BOOL WINAPI GlobalUnlock(HGLOBAL block);
HGLOBAL WINAPI GlobalFree(HGLOBAL block);

void WINAPI Sleep(DWORD milliseconds);
int WINAPI MessageBoxA(HWND owner, LPCSTR text, LPCSTR title, UINT style);

LPSTR WINAPI GetCommandLineA();
HINSTANCE WINAPI GetModuleHandleA(LPCSTR module_name);
void WINAPI GetStartupInfoA(STARTUPINFOA* startup);
UINT WINAPI GetACP();
BOOL WINAPI GetCPInfo(UINT code_page, CPINFO* info);
[[noreturn]] void WINAPI ExitProcess(UINT exit_code);

}
