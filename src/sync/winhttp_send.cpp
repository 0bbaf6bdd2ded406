#include "sync/winhttp_send.h"

#include <windows.h>
#include <winhttp.h>

#include <cctype>
#include <string>

std::wstring wide(const std::string& utf8)
{
    if (utf8.empty())
        return {};
    int length = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    std::wstring text(static_cast<size_t>(length), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), text.data(), length);
    return text;
}

namespace {

std::string utf8(const wchar_t* text, size_t size)
{
    if (size == 0)
        return {};
    int length = WideCharToMultiByte(CP_UTF8, 0, text, static_cast<int>(size), nullptr, 0, nullptr, nullptr);
    std::string bytes(static_cast<size_t>(length), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text, static_cast<int>(size), bytes.data(), length, nullptr, nullptr);
    return bytes;
}

// Closes a WinHTTP handle on every way out.
struct Handle {
    HINTERNET h = nullptr;
    ~Handle()
    {
        if (h)
            WinHttpCloseHandle(h);
    }
};

// One session for the whole run, so that connections to the server are
// kept open from one request to the next.
HINTERNET session()
{
    static HINTERNET shared = [] {
        HINTERNET s = WinHttpOpen(L"ORDANE-Lumo", WINHTTP_ACCESS_TYPE_DEFAULT_PROXY, WINHTTP_NO_PROXY_NAME,
                                  WINHTTP_NO_PROXY_BYPASS, 0);
        if (s)
            WinHttpSetTimeouts(s, 15000, 15000, 60000, 120000);
        return s;
    }();
    return shared;
}

// What went wrong, for the user: the common cases in words, else the step
// and the error number.
std::string failure(const char* step)
{
    const DWORD error = GetLastError();
    switch (error) {
    case ERROR_WINHTTP_NAME_NOT_RESOLVED:  return "the server's name is unknown";
    case ERROR_WINHTTP_CANNOT_CONNECT:     return "cannot connect to the server";
    case ERROR_WINHTTP_TIMEOUT:            return "the server did not answer in time";
    case ERROR_WINHTTP_CONNECTION_ERROR:   return "the connection to the server broke off";
    case ERROR_WINHTTP_SECURE_FAILURE:     return "the server's certificate was not accepted";
    default:                               break;
    }
    char text[96];
    wsprintfA(text, "%s failed (error %lu)", step, error);
    return text;
}

// "Name: value" lines of the answer, names in lower case.
void readHeaders(HINTERNET request, HttpResponse& response)
{
    DWORD size = 0;
    WinHttpQueryHeaders(request, WINHTTP_QUERY_RAW_HEADERS_CRLF, WINHTTP_HEADER_NAME_BY_INDEX, nullptr, &size,
                        WINHTTP_NO_HEADER_INDEX);
    if (size == 0)
        return;
    std::wstring raw(size / sizeof(wchar_t) + 1, L'\0');
    if (!WinHttpQueryHeaders(request, WINHTTP_QUERY_RAW_HEADERS_CRLF, WINHTTP_HEADER_NAME_BY_INDEX, raw.data(), &size,
                             WINHTTP_NO_HEADER_INDEX))
        return;
    const std::string all = utf8(raw.data(), size / sizeof(wchar_t));
    size_t at = all.find("\r\n");   // the status line
    while (at != std::string::npos && at + 2 < all.size()) {
        const size_t start = at + 2;
        const size_t end = all.find("\r\n", start);
        const std::string line = all.substr(start, end == std::string::npos ? std::string::npos : end - start);
        at = end;
        const size_t colon = line.find(':');
        if (colon == std::string::npos || colon == 0)
            continue;
        std::string name = line.substr(0, colon);
        for (char& c : name)
            c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        const size_t valueStart = line.find_first_not_of(' ', colon + 1);
        response.headers.emplace_back(name, valueStart == std::string::npos ? "" : line.substr(valueStart));
    }
}

HttpResponse send(const HttpRequest& request, bool allowPlainHttp)
{
    HttpResponse response;
    const std::wstring url = wide(request.url);
    URL_COMPONENTS parts{};
    parts.dwStructSize = sizeof parts;
    parts.dwHostNameLength = static_cast<DWORD>(-1);
    parts.dwUrlPathLength = static_cast<DWORD>(-1);
    parts.dwExtraInfoLength = static_cast<DWORD>(-1);
    if (!WinHttpCrackUrl(url.c_str(), static_cast<DWORD>(url.size()), 0, &parts)) {
        response.error = "not a valid address: " + request.url;
        return response;
    }
    const std::wstring host(parts.lpszHostName, parts.dwHostNameLength);
    std::wstring path(parts.lpszUrlPath, parts.dwUrlPathLength);
    path.append(parts.lpszExtraInfo, parts.dwExtraInfoLength);
    const bool secure = parts.nScheme == INTERNET_SCHEME_HTTPS;
    if (!secure && !allowPlainHttp && host != L"127.0.0.1" && host != L"localhost") {
        response.error = "plain http is only used for this computer; the address must begin with https://";
        return response;
    }

    if (!session()) {
        response.error = failure("WinHttpOpen");
        return response;
    }
    Handle connection{WinHttpConnect(session(), host.c_str(), parts.nPort, 0)};
    if (!connection.h) {
        response.error = failure("WinHttpConnect");
        return response;
    }
    // Certificate checks stay as Windows makes them: no SECURITY_FLAG_IGNORE_*.
    Handle call{WinHttpOpenRequest(connection.h, wide(request.method).c_str(), path.empty() ? L"/" : path.c_str(),
                                   nullptr, WINHTTP_NO_REFERER, WINHTTP_DEFAULT_ACCEPT_TYPES,
                                   secure ? WINHTTP_FLAG_SECURE : 0)};
    if (!call.h) {
        response.error = failure("WinHttpOpenRequest");
        return response;
    }
    std::wstring headers;
    for (const auto& [name, value] : request.headers)
        headers += wide(name) + L": " + wide(value) + L"\r\n";
    if (!headers.empty() &&
        !WinHttpAddRequestHeaders(call.h, headers.c_str(), static_cast<DWORD>(headers.size()),
                                  WINHTTP_ADDREQ_FLAG_ADD | WINHTTP_ADDREQ_FLAG_REPLACE)) {
        response.error = failure("WinHttpAddRequestHeaders");
        return response;
    }
    const DWORD bodySize = static_cast<DWORD>(request.body.size());
    void* body = bodySize ? const_cast<char*>(request.body.data()) : WINHTTP_NO_REQUEST_DATA;
    if (!WinHttpSendRequest(call.h, WINHTTP_NO_ADDITIONAL_HEADERS, 0, body, bodySize, bodySize, 0) ||
        !WinHttpReceiveResponse(call.h, nullptr)) {
        response.error = failure("sending the request");
        return response;
    }

    DWORD status = 0;
    DWORD size = sizeof status;
    WinHttpQueryHeaders(call.h, WINHTTP_QUERY_STATUS_CODE | WINHTTP_QUERY_FLAG_NUMBER, WINHTTP_HEADER_NAME_BY_INDEX,
                        &status, &size, WINHTTP_NO_HEADER_INDEX);
    readHeaders(call.h, response);
    for (;;) {
        DWORD available = 0;
        if (!WinHttpQueryDataAvailable(call.h, &available)) {
            response.headers.clear();
            response.body.clear();
            response.error = failure("reading the answer");
            return response;
        }
        if (available == 0)
            break;
        const size_t old = response.body.size();
        response.body.resize(old + available);
        DWORD read = 0;
        if (!WinHttpReadData(call.h, response.body.data() + old, available, &read)) {
            response.headers.clear();
            response.body.clear();
            response.error = failure("reading the answer");
            return response;
        }
        response.body.resize(old + read);
    }
    response.status = static_cast<int>(status);
    return response;
}

}  // namespace

HttpSend winHttpTransport(bool allowPlainHttp)
{
    return [allowPlainHttp](const HttpRequest& request) { return send(request, allowPlainHttp); };
}
