// Holds a file open the way a spreadsheet does: no sharing at all, so nobody
// else may read, write, rename or delete it. Prints "held" once it has the
// file; lets go when its input closes, or after the milliseconds given.
#include <windows.h>

#include <cwchar>

int wmain(int argc, wchar_t *argv[])
{
    if (argc < 2)
        return 2;
    const HANDLE file = CreateFileW(argv[1], GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return 1;
    const HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
    DWORD written = 0;
    WriteFile(out, "held\n", 5, &written, nullptr);
    FlushFileBuffers(out);
    if (argc > 2) {
        Sleep(DWORD(std::wcstoul(argv[2], nullptr, 10)));
    } else {
        char byte;
        DWORD read = 0;
        while (ReadFile(GetStdHandle(STD_INPUT_HANDLE), &byte, 1, &read, nullptr) && read > 0) {
        }
    }
    CloseHandle(file);
    return 0;
}
