#include "core/sync/fake_carddav.h"

#include "sync/sync_card.h"

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
    cards[href] = {"\"v" + std::to_string(++clock) + "\"", body};
    changedAt[href] = clock;
}

void FakeCardDav::remove(const std::string& href)
{
    cards.erase(href);
    deletedAt[href] = ++clock;
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
        // A card keeps its UID.
        if (exists && request.method == "PUT" && cardUid(card->second.body) != cardUid(request.body))
            return {409, {}, {}, {}};
        ++writes;
        if (request.method == "DELETE") {
            remove(href);
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
    } else if (request.method == "REPORT" && request.body.find("sync-collection") != std::string::npos) {
        const size_t start = request.body.find("<d:sync-token>") + 14;
        const std::string token = request.body.substr(start, request.body.find('<', start) - start);
        if (!offersSyncTokens || (!token.empty() && token[0] != 't'))
            return {403, {}, {}, {}};
        const int since = token.empty() ? 0 : std::stoi(token.substr(1));
        for (const auto& [path, c] : cards)
            if (changedAt[path] > since)
                xml += "<D:response><D:href>" + path + "</D:href><D:propstat><D:prop><D:getetag>" +
                       xmlEscaped(c.etag) + "</D:getetag></D:prop></D:propstat></D:response>";
        for (const auto& [path, when] : deletedAt)
            if (when > since && !cards.count(path))
                xml += "<D:response><D:href>" + path + "</D:href><D:status>HTTP/1.1 404 Not Found</D:status></D:response>";
        xml += "<D:sync-token>t" + std::to_string(clock) + "</D:sync-token>";
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
