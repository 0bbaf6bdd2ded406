#include "host/host.h"

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
