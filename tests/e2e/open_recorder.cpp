// Stands in for the program the shell opens a file with, for the test of
// the help command: `open_recorder OUT FILE` writes FILE, the file it was
// asked to open, into OUT and ends.
#include <windows.h>
#include <shellapi.h>

#include <cstdio>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    int count = 0;
    LPWSTR* arguments = CommandLineToArgvW(GetCommandLineW(), &count);
    if (!arguments || count < 3)
        return 1;
    char opened[1024] = "";
    WideCharToMultiByte(CP_ACP, 0, arguments[2], -1, opened, sizeof opened, nullptr, nullptr);
    std::FILE* out = _wfopen(arguments[1], L"wb");
    if (!out)
        return 1;
    std::fputs(opened, out);
    std::fclose(out);
    LocalFree(arguments);
    return 0;
}
