#include "core/sync/fake_carddav.h"

namespace {

constexpr std::string_view origin = "https://dav.example";

std::string xmlEscaped(const std::string& text)
{
    std::string out;
    for (char c : text)
        out += c == '&' ? "&amp;" : c == '<' ? "&lt;" : c == '>' ? "&gt;" : c == '\r' ? "&#13;" : std::string(1, c);
    return out;
}

std::string headerOf(const HttpRequest& request, const std::string& name)
{
    for (const auto& [key, value] : request.headers)
        if (key == name)
            return value;
    return {};
}

}  // namespace

void FakeCardDav::store(const std::string& href, const std::string& body)
{
    static int version = 0;
    cards[href] = {"\"v" + std::to_string(++version) + "\"", body};
}

HttpResponse FakeCardDav::operator()(const HttpRequest& request)
{
    if (answerRequests >= 0 && requests >= answerRequests)
        return {0, {}, {}, "connection refused"};
    ++requests;
    const std::string href = request.url.substr(origin.size());
    const bool write = request.method == "PUT" || request.method == "DELETE";
    if (write && beforeWrite)
        beforeWrite(request);
    auto card = cards.find(href);
    if (write) {
        const std::string ifMatch = headerOf(request, "If-Match");
        const bool exists = card != cards.end();
        if ((!ifMatch.empty() && (!exists || card->second.etag != ifMatch)) ||
            (headerOf(request, "If-None-Match") == "*" && exists))
            return {412, {}, {}, {}};
        ++writes;
        if (request.method == "DELETE") {
            cards.erase(href);
            return {204, {}, {}, {}};
        }
        store(href, request.body);
        return {201, {{"etag", cards[href].etag}}, {}, {}};
    }
    if (request.method == "GET") {
        if (card == cards.end())
            return {404, {}, {}, {}};
        ++cardsServed;
        return {200, {{"etag", card->second.etag}}, card->second.body, {}};
    }
    std::string xml = "<?xml version=\"1.0\"?><D:multistatus xmlns:D=\"DAV:\" xmlns:C=\"urn:ietf:params:xml:ns:carddav\">";
    if (request.method == "PROPFIND") {
        xml += "<D:response><D:href>" + href + "</D:href><D:propstat><D:prop><D:resourcetype><D:collection/>"
               "<C:addressbook/></D:resourcetype></D:prop></D:propstat></D:response>";
        for (const auto& [path, c] : cards)
            xml += "<D:response><D:href>" + path + "</D:href><D:propstat><D:prop><D:resourcetype/><D:getetag>" +
                   xmlEscaped(c.etag) + "</D:getetag></D:prop></D:propstat></D:response>";
    } else if (request.method == "REPORT") {
        size_t pos = 0;
        while ((pos = request.body.find("<d:href>", pos)) != std::string::npos) {
            pos += 8;
            const std::string wanted = request.body.substr(pos, request.body.find('<', pos) - pos);
            auto found = cards.find(wanted);
            if (found == cards.end())
                continue;
            ++cardsServed;
            xml += "<D:response><D:href>" + wanted + "</D:href><D:propstat><D:prop><D:getetag>" +
                   xmlEscaped(found->second.etag) + "</D:getetag><C:address-data>" + xmlEscaped(found->second.body) +
                   "</C:address-data></D:prop></D:propstat></D:response>";
        }
    } else {
        return {405, {}, {}, {}};
    }
    return {207, {}, xml + "</D:multistatus>", {}};
}
