// Times programs from CreateProcessA to their exit, so this helper's own start is not counted.
// Usage: bench_time ROUNDS WARMUP CMDLINE_FILE...
// Each file holds one exact command line. Every round starts each of them once, in turn, so
// drift in the machine's load falls on all alike. Per measured run it prints:
//   file_index round microseconds exit_code clipboard_text_length
#include <windows.h>

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

static char* ReadFileText(const char* path)
{
    static const size_t Limit = 1 << 20;
    char* text = static_cast<char*>(calloc(Limit + 1, 1));
    FILE* file = text ? fopen(path, "rb") : NULL;
    if (!file) {
        free(text);
        return NULL;
    }
    size_t size = fread(text, 1, Limit, file);
    fclose(file);
    text[size] = '\0';
    return text;
}

// Leaves a text that no benchmarked program writes, so a run that failed to publish shows.
static void PutSentinel()
{
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, 9);
    void* bytes = block ? GlobalLock(block) : NULL;
    if (!bytes)
        return;
    memcpy(bytes, "sentinel", 9);
    GlobalUnlock(block);
    if (OpenClipboard(NULL)) {
        EmptyClipboard();
        SetClipboardData(CF_TEXT, block);
        CloseClipboard();
    }
}

static long ClipboardTextLength()
{
    long length = -1;
    if (OpenClipboard(NULL)) {
        HANDLE block = GetClipboardData(CF_TEXT);
        const char* text = block ? static_cast<const char*>(GlobalLock(block)) : NULL;
        if (text) {
            length = static_cast<long>(strlen(text));
            GlobalUnlock(block);
        }
        CloseClipboard();
    }
    return length;
}

int main(int argc, char** argv)
{
    if (argc < 4) {
        fprintf(stderr, "usage: bench_time ROUNDS WARMUP CMDLINE_FILE...\n");
        return 2;
    }
    int rounds = atoi(argv[1]);
    int warmup = atoi(argv[2]);
    int count = argc - 3;
    char** lines = static_cast<char**>(calloc(count, sizeof(char*)));
    for (int i = 0; i < count; ++i) {
        lines[i] = ReadFileText(argv[3 + i]);
        if (!lines[i]) {
            fprintf(stderr, "cannot read %s\n", argv[3 + i]);
            return 2;
        }
    }
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);

    for (int round = -warmup; round < rounds; ++round) {
        for (int i = 0; i < count; ++i) {
            PutSentinel();
            // CreateProcessA may write into the command line, so it gets a fresh copy.
            char* line = _strdup(lines[i]);
            STARTUPINFOA startup;
            memset(&startup, 0, sizeof startup);
            startup.cb = sizeof startup;
            PROCESS_INFORMATION process;
            LARGE_INTEGER start, end;
            QueryPerformanceCounter(&start);
            if (!CreateProcessA(NULL, line, NULL, NULL, FALSE, 0, NULL, NULL, &startup, &process)) {
                fprintf(stderr, "CreateProcessA failed (%lu) for file %d\n", GetLastError(), i);
                return 1;
            }
            DWORD waited = WaitForSingleObject(process.hProcess, 60000);
            QueryPerformanceCounter(&end);
            free(line);
            DWORD exit_code = 0;
            GetExitCodeProcess(process.hProcess, &exit_code);
            if (waited != WAIT_OBJECT_0) {
                TerminateProcess(process.hProcess, 1);
                fprintf(stderr, "file %d did not exit within 60 s\n", i);
                return 1;
            }
            CloseHandle(process.hThread);
            CloseHandle(process.hProcess);
            long long microseconds = (end.QuadPart - start.QuadPart) * 1000000LL / frequency.QuadPart;
            long length = ClipboardTextLength();
            if (round >= 0)
                printf("%d %d %lld %lu %ld\n", i, round, microseconds, exit_code, length);
        }
    }
    return 0;
}
