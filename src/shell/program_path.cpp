#include "shell/program_path.h"

#include <cstring>

#include "files/config.h"

char programPath[512];
char configFilePath[512];
char helpFilePath[512];

namespace {

constexpr size_t maxPathLength = 511;

void joinPath(char* out, const char* directory, size_t directoryLength, const char* name)
{
    size_t nameLength = std::strlen(name);
    if (directoryLength + nameLength > maxPathLength)
        nameLength = maxPathLength > directoryLength ? maxPathLength - directoryLength : 0;
    std::memcpy(out, directory, directoryLength);
    std::memcpy(out + directoryLength, name, nameLength);
    out[directoryLength + nameLength] = 0;
}

}  // namespace

void setProgramPathFromCommandLine(const char* commandLine)
{
    size_t length = 0;
    if (commandLine[0] == '"') {
        const char* start = commandLine + 1;
        while (start[length] && start[length] != '"' && length < maxPathLength)
            ++length;
        std::memcpy(programPath, start, length);
    } else {
        while (static_cast<unsigned char>(commandLine[length]) > ' ' && length < maxPathLength)
            ++length;
        std::memcpy(programPath, commandLine, length);
    }
    programPath[length] = 0;

    size_t directoryLength = 0;
    for (size_t i = 0; i < length; ++i)
        if (programPath[i] == '\\' || programPath[i] == '/')
            directoryLength = i + 1;
    joinPath(configFilePath, programPath, directoryLength, configFileName);
    joinPath(helpFilePath, programPath, directoryLength, "DOC\\O_LUMO.HTM");
}
