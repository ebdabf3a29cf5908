// Starts a program with a byte-exact command line read from a file, waits for it within a time limit,
// and reports its exit status and run time. A message box the program shows is read and closed with OK.
//
// launch REPORT CMDLINE_FILE TIMEOUT_MS [--app PATH] [--release-after MS FILE] [--box-pause SIGNAL RELEASE]
//   --app            the module to start, so the command line need not begin with it (a leading blank)
//   --release-after  creates FILE that many ms after the start (tells a clipboard holder to let go)
//   --box-pause      once the box is read, creates SIGNAL and waits for RELEASE before pressing OK
#include "report.h"

#include <stdlib.h>

struct BoxSearch {
    DWORD process_id;
    HWND box;
};

static BOOL CALLBACK FindBox(HWND window, LPARAM context)
{
    BoxSearch* search = reinterpret_cast<BoxSearch*>(context);
    DWORD owner_process = 0;
    GetWindowThreadProcessId(window, &owner_process);
    char class_name[64] = "";
    GetClassNameA(window, class_name, sizeof class_name);
    // Visible only after its WM_INITDIALOG, so the text and buttons are in place by then.
    if (owner_process == search->process_id && strcmp(class_name, "#32770") == 0 && IsWindowVisible(window)) {
        search->box = window;
        return FALSE;
    }
    return TRUE;
}

static FILE* report_for_buttons;

static BOOL CALLBACK ReportButton(HWND control, LPARAM)
{
    char class_name[64] = "";
    GetClassNameA(control, class_name, sizeof class_name);
    // Wine keeps the buttons a box does not use as hidden controls.
    if (_stricmp(class_name, "Button") == 0 && IsWindowVisible(control)) {
        char text[256] = "";
        int length = GetWindowTextA(control, text, sizeof text);
        char key[32];
        snprintf(key, sizeof key, "box_button %d", GetDlgCtrlID(control));
        ReportBytes(report_for_buttons, key, text, length);
    }
    return TRUE;
}

static void ReportBox(FILE* report, HWND box)
{
    static char text[65536];
    int length = GetWindowTextA(box, text, sizeof text);
    ReportBytes(report, "box_title", text, length);
    length = GetDlgItemTextA(box, 0xFFFF, text, sizeof text);
    ReportBytes(report, "box_text", text, length);
    fprintf(report, "box_owner %d\n", GetWindow(box, GW_OWNER) != NULL);
    // The icon's handle is the box process's own; here we can only see that there is one.
    HWND icon = GetDlgItem(box, 0x0440);
    fprintf(report, "box_icon %d\n", icon && IsWindowVisible(icon) && SendMessageA(icon, STM_GETICON, 0, 0) != 0);
    report_for_buttons = report;
    EnumChildWindows(box, ReportButton, 0);
    fflush(report);
}

int main(int argc, char** argv)
{
    if (argc < 4)
        return 2;
    FILE* report = OpenReport(argv[1]);
    DWORD timeout_ms = strtoul(argv[3], NULL, 10);
    const char* app = NULL;
    const char* release_file = NULL;
    DWORD release_after_ms = 0;
    const char* pause_signal = NULL;
    const char* pause_release = NULL;
    for (int i = 4; i < argc; ++i) {
        if (strcmp(argv[i], "--app") == 0 && i + 1 < argc) {
            app = argv[++i];
        } else if (strcmp(argv[i], "--release-after") == 0 && i + 2 < argc) {
            release_after_ms = strtoul(argv[++i], NULL, 10);
            release_file = argv[++i];
        } else if (strcmp(argv[i], "--box-pause") == 0 && i + 2 < argc) {
            pause_signal = argv[++i];
            pause_release = argv[++i];
        } else {
            return 2;
        }
    }

    DWORD size = 0;
    char* command_line = ReadWholeFile(argv[2], &size);
    if (!command_line) {
        fprintf(report, "error cannot read %s\n", argv[2]);
        return 1;
    }
    ReportBytes(report, "command_line", command_line, size);

    STARTUPINFOA startup;
    ZeroMemory(&startup, sizeof startup);
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process;
    DWORD start = GetTickCount();
    if (!CreateProcessA(app, command_line, NULL, NULL, FALSE, 0, NULL, NULL, &startup, &process)) {
        fprintf(report, "error CreateProcessA %lu\n", GetLastError());
        return 1;
    }
    fprintf(report, "started 1\n");

    int boxes = 0;
    HWND handled_box = NULL;
    bool released = false;
    DWORD elapsed = 0;
    for (;;) {
        DWORD wait = WaitForSingleObject(process.hProcess, 10);
        elapsed = GetTickCount() - start;
        if (wait == WAIT_OBJECT_0)
            break;
        if (release_file && !released && elapsed >= release_after_ms) {
            TouchFile(release_file);
            released = true;
            fprintf(report, "released_ms %lu\n", elapsed);
        }
        if (elapsed >= timeout_ms) {
            TerminateProcess(process.hProcess, 259);
            WaitForSingleObject(process.hProcess, 5000);
            fprintf(report, "timeout 1\n");
            break;
        }
        BoxSearch search = { process.dwProcessId, NULL };
        EnumWindows(FindBox, reinterpret_cast<LPARAM>(&search));
        if (search.box && search.box != handled_box) {
            handled_box = search.box;
            ++boxes;
            ReportBox(report, search.box);
            if (pause_signal) {
                TouchFile(pause_signal);
                while (!FileExists(pause_release) && GetTickCount() - start < timeout_ms)
                    Sleep(20);
            }
            // What a click on OK sends; the box ends with IDOK.
            PostMessageA(search.box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
        }
    }
    if (release_file && !released)
        TouchFile(release_file);
    DWORD exit_code = 0;
    GetExitCodeProcess(process.hProcess, &exit_code);
    fprintf(report, "boxes %d\n", boxes);
    fprintf(report, "exit %lu\n", exit_code);
    fprintf(report, "elapsed_ms %lu\n", elapsed);
    fprintf(report, "done 1\n");
    fclose(report);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return 0;
}
