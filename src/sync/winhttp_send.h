// The network door of synchronisation on Windows: HttpSend carried by
// WinHTTP, for the program and the Windows lumo tool.
#pragma once

#include <string>

#include "sync/http.h"

// HTTPS with the certificate checked by Windows; plain HTTP only to
// 127.0.0.1 and localhost unless allowPlainHttp says any host will do.
HttpSend winHttpTransport(bool allowPlainHttp = false);

// UTF-8 as the UTF-16 that Windows' wide functions take.
std::wstring wide(const std::string& utf8);
