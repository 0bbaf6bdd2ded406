// The one door to the network that synchronisation goes through.  libcurl
// carries it on Linux (the lumo tool), WinHTTP in the program, and the unit
// tests put a fake server behind it.  The core never opens a socket.
#pragma once

#include <functional>
#include <string>
#include <utility>
#include <vector>

struct HttpRequest {
    std::string method;    // "GET", "PUT", "DELETE", "PROPFIND", "REPORT"
    std::string url;       // absolute: scheme, host, port, path
    std::vector<std::pair<std::string, std::string>> headers;
    std::string body;
};

struct HttpResponse {
    int status = 0;        // 0: no answer at all; error says why
    std::vector<std::pair<std::string, std::string>> headers;  // names in lower case
    std::string body;
    std::string error;
};

using HttpSend = std::function<HttpResponse(const HttpRequest&)>;
