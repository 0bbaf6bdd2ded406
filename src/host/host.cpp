#include "host/host.h"

#include <filesystem>
#include <system_error>

namespace {
Host silentHost;
Host* currentHost = &silentHost;
}

Host& host()
{
    return *currentHost;
}

void setHost(Host* newHost)
{
    currentHost = newHost ? newHost : &silentHost;
}

bool Host::replaceFile(const char* temporary, const char* target)
{
    std::error_code error;
    std::filesystem::rename(temporary, target, error);
    return !error;
}
