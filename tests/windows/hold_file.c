/* Holds a file open for SECONDS as a Windows program reading it does (the
   game its font): others may read and write it, but not delete or rename it.
   usage: hold_file.exe FILE SECONDS; says "holding" once it has the file. */
#include <stdio.h>
#include <stdlib.h>
#include <windows.h>

int wmain(int argc, wchar_t **argv) {
    if (argc != 3) {
        return 2;
    }
    HANDLE file = CreateFileW(argv[1], GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL,
                              OPEN_EXISTING, 0, NULL);
    if (file == INVALID_HANDLE_VALUE) {
        return 1;
    }
    printf("holding\n");
    fflush(stdout);
    Sleep((DWORD)_wtoi(argv[2]) * 1000);
    CloseHandle(file);
    return 0;
}
