// What every helper shares: a report file of "key value" lines, with bytes written as hex.
#pragma once

#include <stdio.h>
#include <string.h>
#include <windows.h>

inline FILE* OpenReport(const char* path)
{
    FILE* report = fopen(path, "wb");
    if (!report)
        ExitProcess(3);
    return report;
}

// Hex keeps bytes above 0x7F, blanks and line feeds exact through the report.
inline void ReportBytes(FILE* report, const char* key, const void* data, size_t size)
{
    fprintf(report, "%s ", key);
    const unsigned char* bytes = static_cast<const unsigned char*>(data);
    for (size_t i = 0; i < size; ++i)
        fprintf(report, "%02x", bytes[i]);
    fputc('\n', report);
}

inline bool FileExists(const char* path)
{
    return GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES;
}

inline void TouchFile(const char* path)
{
    HANDLE file = CreateFileA(path, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
    if (file != INVALID_HANDLE_VALUE)
        CloseHandle(file);
}

// Reads a whole file into a new zero-terminated buffer; the helpers end soon, so it is never freed.
inline char* ReadWholeFile(const char* path, DWORD* size)
{
    HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING, 0, NULL);
    if (file == INVALID_HANDLE_VALUE)
        return NULL;
    DWORD length = GetFileSize(file, NULL);
    char* bytes = static_cast<char*>(HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, length + 1));
    DWORD got = 0;
    if (!ReadFile(file, bytes, length, &got, NULL) || got != length)
        got = 0;
    CloseHandle(file);
    *size = got;
    return bytes;
}

// A holder may just be letting go: try for five seconds before calling the clipboard unusable.
inline bool OpenClipboardOrReport(FILE* report)
{
    for (int attempt = 0; attempt < 100; ++attempt) {
        if (OpenClipboard(NULL))
            return true;
        Sleep(50);
    }
    fprintf(report, "error OpenClipboard %lu\n", GetLastError());
    return false;
}
