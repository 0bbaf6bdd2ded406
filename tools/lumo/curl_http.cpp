#include "curl_http.h"

#include <curl/curl.h>

namespace {

size_t appendBody(char* data, size_t size, size_t count, void* response)
{
    static_cast<HttpResponse*>(response)->body.append(data, size * count);
    return size * count;
}

size_t appendHeader(char* data, size_t size, size_t count, void* response)
{
    HttpResponse& r = *static_cast<HttpResponse*>(response);
    std::string line(data, size * count);
    while (!line.empty() && (line.back() == '\r' || line.back() == '\n'))
        line.pop_back();
    if (line.starts_with("HTTP/")) {
        r.headers.clear();   // a new answer (after 100 Continue or the like)
    } else if (const size_t colon = line.find(':'); colon != std::string::npos) {
        std::string name = line.substr(0, colon);
        for (char& c : name)
            if (c >= 'A' && c <= 'Z')
                c = static_cast<char>(c + 32);
        const size_t value = line.find_first_not_of(" \t", colon + 1);
        r.headers.emplace_back(name, value == std::string::npos ? "" : line.substr(value));
    }
    return size * count;
}

}  // namespace

HttpResponse sendWithCurl(const HttpRequest& request)
{
    // One handle for the whole run, so its connection is used again.
    static CURL* curl = [] {
        curl_global_init(CURL_GLOBAL_DEFAULT);
        return curl_easy_init();
    }();
    HttpResponse response;
    if (!curl) {
        response.error = "cannot start libcurl";
        return response;
    }
    curl_easy_reset(curl);
    char why[CURL_ERROR_SIZE] = "";
    curl_easy_setopt(curl, CURLOPT_ERRORBUFFER, why);
    curl_easy_setopt(curl, CURLOPT_URL, request.url.c_str());
    curl_easy_setopt(curl, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT, 20L);
    // A server that sends nothing for two minutes is gone; one that takes a
    // whole address book in one request may work on it for longer.
    curl_easy_setopt(curl, CURLOPT_LOW_SPEED_LIMIT, 1L);
    curl_easy_setopt(curl, CURLOPT_LOW_SPEED_TIME, request.body.size() > 1000000 ? 1200L : 120L);
    if (request.method == "GET") {
        curl_easy_setopt(curl, CURLOPT_HTTPGET, 1L);
    } else {
        curl_easy_setopt(curl, CURLOPT_CUSTOMREQUEST, request.method.c_str());
        if (!request.body.empty() || request.method == "PUT") {
            curl_easy_setopt(curl, CURLOPT_POSTFIELDS, request.body.data());
            curl_easy_setopt(curl, CURLOPT_POSTFIELDSIZE_LARGE, static_cast<curl_off_t>(request.body.size()));
        }
    }
    curl_slist* headers = curl_slist_append(nullptr, "Expect:");
    for (const auto& [name, value] : request.headers)
        headers = curl_slist_append(headers, (name + ": " + value).c_str());
    curl_easy_setopt(curl, CURLOPT_HTTPHEADER, headers);
    curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, appendBody);
    curl_easy_setopt(curl, CURLOPT_WRITEDATA, &response);
    curl_easy_setopt(curl, CURLOPT_HEADERFUNCTION, appendHeader);
    curl_easy_setopt(curl, CURLOPT_HEADERDATA, &response);
    const CURLcode result = curl_easy_perform(curl);
    curl_slist_free_all(headers);
    if (result != CURLE_OK) {
        response = HttpResponse();
        response.error = why[0] ? why : curl_easy_strerror(result);
        return response;
    }
    long status = 0;
    curl_easy_getinfo(curl, CURLINFO_RESPONSE_CODE, &status);
    response.status = static_cast<int>(status);
    return response;
}
