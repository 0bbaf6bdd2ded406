#include "sync/dav_client.h"

#include <cstdlib>
#include <functional>
#include <string_view>

#include "contacts/hex_escapes.h"
#include "contacts/utf8.h"

namespace {

constexpr size_t hrefsPerReport = 200;

std::string lowered(std::string_view text)
{
    std::string out(text);
    for (char& c : out)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c + 32);
    return out;
}

std::string base64(std::string_view bytes)
{
    static const char alphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string out;
    for (size_t i = 0; i < bytes.size(); i += 3) {
        uint32_t n = static_cast<unsigned char>(bytes[i]) << 16;
        if (i + 1 < bytes.size())
            n |= static_cast<unsigned char>(bytes[i + 1]) << 8;
        if (i + 2 < bytes.size())
            n |= static_cast<unsigned char>(bytes[i + 2]);
        out += alphabet[n >> 18 & 63];
        out += alphabet[n >> 12 & 63];
        out += i + 1 < bytes.size() ? alphabet[n >> 6 & 63] : '=';
        out += i + 2 < bytes.size() ? alphabet[n & 63] : '=';
    }
    return out;
}

// Calls found with the content of every element called localName (any
// namespace prefix), in document order; comments and CDATA are skipped.
void eachElement(std::string_view xml, std::string_view localName, const std::function<void(std::string_view)>& found)
{
    size_t pos = 0;
    while ((pos = xml.find('<', pos)) != std::string_view::npos) {
        if (xml.substr(pos, 9) == "<![CDATA[" || xml.substr(pos, 4) == "<!--") {
            const size_t end = xml.find(xml[pos + 2] == '[' ? "]]>" : "-->", pos);
            if (end == std::string_view::npos)
                return;
            pos = end + 3;
            continue;
        }
        const size_t nameEnd = xml.find_first_of(" \t\r\n/>", pos + 1);
        const size_t tagEnd = xml.find('>', pos);
        if (nameEnd == std::string_view::npos || tagEnd == std::string_view::npos)
            return;
        const std::string_view name = xml.substr(pos + 1, nameEnd - pos - 1);
        const size_t colon = name.find(':');
        const std::string_view local = colon == std::string_view::npos ? name : name.substr(colon + 1);
        if (local != localName || name[0] == '/' || name[0] == '?' || name[0] == '!') {
            pos = tagEnd + 1;
            continue;
        }
        if (xml[tagEnd - 1] == '/') {
            found({});
            pos = tagEnd + 1;
            continue;
        }
        const size_t close = xml.find("</" + std::string(name), tagEnd);
        if (close == std::string_view::npos)
            return;
        found(xml.substr(tagEnd + 1, close - tagEnd - 1));
        pos = close + 2;
    }
}

// Character data with its entities and CDATA sections resolved.
std::string xmlText(std::string_view xml)
{
    std::string out;
    for (size_t i = 0; i < xml.size(); ++i) {
        if (xml.substr(i, 9) == "<![CDATA[") {
            const size_t end = xml.find("]]>", i);
            out.append(xml.substr(i + 9, end == std::string_view::npos ? end : end - i - 9));
            if (end == std::string_view::npos)
                break;
            i = end + 2;
        } else if (xml[i] == '&') {
            const size_t semicolon = xml.find(';', i);
            if (semicolon == std::string_view::npos) {
                out += '&';
                continue;
            }
            const std::string_view name = xml.substr(i + 1, semicolon - i - 1);
            if (name == "lt") out += '<';
            else if (name == "gt") out += '>';
            else if (name == "amp") out += '&';
            else if (name == "quot") out += '"';
            else if (name == "apos") out += '\'';
            else if (name.size() > 1 && name[0] == '#') {
                const bool hex = name[1] == 'x' || name[1] == 'X';
                const std::string digits(name.substr(hex ? 2 : 1));
                appendUtf8(out, static_cast<char32_t>(std::strtoul(digits.c_str(), nullptr, hex ? 16 : 10)));
            } else {
                out.append(xml.substr(i, semicolon - i + 1));
            }
            i = semicolon;
        } else {
            out += xml[i];
        }
    }
    return out;
}

std::string firstText(std::string_view xml, std::string_view localName)
{
    std::string text;
    bool seen = false;
    eachElement(xml, localName, [&](std::string_view inner) {
        if (!seen || text.empty())
            text = xmlText(inner);
        seen = true;
    });
    // Blanks around a value are layout.
    const size_t begin = text.find_first_not_of(" \t\r\n");
    if (begin == std::string::npos)
        return {};
    return text.substr(begin, text.find_last_not_of(" \t\r\n") - begin + 1);
}


// An href as a path: a full URL loses its origin.
std::string hrefPath(DavSession& session, std::string href)
{
    if (href.starts_with("http://") || href.starts_with("https://")) {
        const size_t slash = href.find('/', href.find("//") + 2);
        href = slash == std::string::npos ? "/" : href.substr(slash);
    }
    if (!href.starts_with("/"))
        href = session.collectionPath + href;
    return href;
}

bool sameHref(std::string_view a, std::string_view b)
{
    return decodeHexEscapes(a, '%') == decodeHexEscapes(b, '%');
}

HttpResponse request(DavSession& session, const std::string& method, const std::string& path,
                     std::vector<std::pair<std::string, std::string>> headers, std::string body)
{
    HttpRequest req{method, session.origin + path, std::move(headers), std::move(body)};
    if (!session.authorization.empty())
        req.headers.emplace_back("Authorization", session.authorization);
    ++session.requests;
    HttpResponse response = session.send(req);
    session.lastStatus = response.status;
    return response;
}

// Fills session.error for an answer that is no success; true for one that is.
bool succeeded(DavSession& session, const HttpResponse& response, const std::string& what)
{
    if (response.status >= 200 && response.status < 300)
        return true;
    if (response.status == 0)
        session.error = "no answer from the server (" + what + "): " + response.error;
    else if (response.status == 401 || response.status == 403)
        session.error = "the server refused the user name or password (HTTP " + std::to_string(response.status) + ")";
    else
        session.error = "the server answered HTTP " + std::to_string(response.status) + " to " + what;
    return false;
}

std::string header(const HttpResponse& response, std::string_view name)
{
    for (const auto& [key, value] : response.headers)
        if (key == name)
            return value;
    return {};
}

// The responses of a multistatus that name a card: href, ETag, and the
// card when asked for.
std::vector<DavCard> multistatusCards(DavSession& session, std::string_view xml)
{
    std::vector<DavCard> cards;
    eachElement(xml, "response", [&](std::string_view response) {
        bool collection = false;
        eachElement(response, "resourcetype", [&](std::string_view type) {
            eachElement(type, "collection", [&](std::string_view) { collection = true; });
        });
        DavCard card{hrefPath(session, firstText(response, "href")), firstText(response, "getetag"),
                     firstText(response, "address-data")};
        if (collection || card.etag.empty() || sameHref(card.href, session.collectionPath))
            return;
        cards.push_back(std::move(card));
    });
    return cards;
}

}  // namespace

bool openDavSession(DavSession& session, const std::string& url, bool allowInsecureHttp, const std::string& user,
                    const std::string& password)
{
    const std::string lower = lowered(url);
    const bool https = lower.starts_with("https://");
    if (!https && !lower.starts_with("http://")) {
        session.error = "the collection URL must begin with https:// (" + url + ")";
        return false;
    }
    const size_t hostStart = url.find("//") + 2;
    size_t pathStart = url.find('/', hostStart);
    if (pathStart == std::string::npos)
        pathStart = url.size();
    session.origin = url.substr(0, pathStart);
    session.collectionPath = pathStart < url.size() ? url.substr(pathStart) : "/";
    if (!session.collectionPath.ends_with("/"))
        session.collectionPath += '/';
    std::string host = lowered(url.substr(hostStart, pathStart - hostStart));
    if (const size_t at = host.rfind('@'); at != std::string::npos)
        host = host.substr(at + 1);
    if (host.starts_with("["))
        host = host.substr(0, host.find(']') + 1);
    else
        host = host.substr(0, host.find(':'));
    if (host.empty()) {
        session.error = "the collection URL names no server (" + url + ")";
        return false;
    }
    const bool local = host == "127.0.0.1" || host == "localhost" || host == "[::1]";
    if (!https && !local && !allowInsecureHttp) {
        session.error = "plain http sends the password unprotected; use https:// (or allow insecure http)";
        return false;
    }
    if (!user.empty())
        session.authorization = "Basic " + base64(user + ":" + password);
    return true;
}

bool listCards(DavSession& session, std::vector<DavCard>& cards)
{
    const HttpResponse response =
        request(session, "PROPFIND", session.collectionPath,
                {{"Depth", "1"}, {"Content-Type", "application/xml; charset=utf-8"}},
                "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n"
                "<d:propfind xmlns:d=\"DAV:\"><d:prop><d:resourcetype/><d:getetag/></d:prop></d:propfind>\n");
    if (!succeeded(session, response, "the listing of the address book"))
        return false;
    if (response.status != 207) {
        session.error = "the server did not list the address book (HTTP " + std::to_string(response.status) +
                        "); is the URL that of the address book itself?";
        return false;
    }
    cards = multistatusCards(session, response.body);
    return true;
}

DavReport changesSince(DavSession& session, const std::string& token, std::vector<DavCard>& changed,
                       std::vector<std::string>& removed, std::string& newToken)
{
    std::string escaped;
    for (char c : token)
        escaped += c == '&' ? "&amp;" : c == '<' ? "&lt;" : std::string(1, c);
    const HttpResponse response =
        request(session, "REPORT", session.collectionPath,
                {{"Depth", "0"}, {"Content-Type", "application/xml; charset=utf-8"}},
                "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n"
                "<d:sync-collection xmlns:d=\"DAV:\"><d:sync-token>" + escaped +
                    "</d:sync-token><d:sync-level>1</d:sync-level><d:prop><d:getetag/></d:prop></d:sync-collection>\n");
    if (response.status == 0 || response.status == 401)
        return succeeded(session, response, "the changes of the address book") ? DavReport::Done : DavReport::Failed;
    newToken = firstText(response.body, "sync-token");
    if (response.status != 207 || newToken.empty())
        return DavReport::Unsupported;
    eachElement(response.body, "response", [&](std::string_view answer) {
        const std::string href = hrefPath(session, firstText(answer, "href"));
        const std::string etag = firstText(answer, "getetag");
        if (sameHref(href, session.collectionPath))
            return;
        if (!etag.empty())
            changed.push_back({href, etag, {}});
        else if (firstText(answer, "status").find(" 404") != std::string::npos)
            removed.push_back(href);
    });
    return DavReport::Done;
}

bool fetchCards(DavSession& session, const std::vector<std::string>& hrefs, std::vector<DavCard>& cards)
{
    bool multiget = true;
    for (size_t first = 0; first < hrefs.size(); first += hrefsPerReport) {
        const size_t last = std::min(hrefs.size(), first + hrefsPerReport);
        if (multiget) {
            std::string body = "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n"
                               "<c:addressbook-multiget xmlns:d=\"DAV:\" xmlns:c=\"urn:ietf:params:xml:ns:carddav\">"
                               "<d:prop><d:getetag/><c:address-data/></d:prop>";
            for (size_t i = first; i < last; ++i) {
                std::string escaped;
                for (char c : hrefs[i])
                    escaped += c == '&' ? "&amp;" : c == '<' ? "&lt;" : std::string(1, c);
                body += "<d:href>" + escaped + "</d:href>";
            }
            body += "</c:addressbook-multiget>\n";
            const HttpResponse response = request(session, "REPORT", session.collectionPath,
                                                  {{"Depth", "1"}, {"Content-Type", "application/xml; charset=utf-8"}},
                                                  body);
            if (response.status == 207) {
                for (DavCard& card : multistatusCards(session, response.body)) {
                    if (card.card.empty())
                        continue;
                    ++session.cardsFetched;
                    cards.push_back(std::move(card));
                }
                continue;
            }
            if (response.status == 0 || response.status == 401)
                return succeeded(session, response, "the download of cards");
            multiget = false;   // the server does not take it: one GET per card
        }
        for (size_t i = first; i < last; ++i) {
            const HttpResponse response = request(session, "GET", hrefs[i], {}, {});
            if (response.status == 404 || response.status == 410)
                continue;
            if (!succeeded(session, response, "GET " + hrefs[i]))
                return false;
            ++session.cardsFetched;
            cards.push_back({hrefs[i], header(response, "etag"), response.body});
        }
    }
    return true;
}

DavWrite putCard(DavSession& session, const std::string& href, const std::string& etag, const std::string& card,
                 std::string& newEtag)
{
    std::vector<std::pair<std::string, std::string>> headers{{"Content-Type", "text/vcard; charset=utf-8"}};
    headers.emplace_back(etag.empty() ? "If-None-Match" : "If-Match", etag.empty() ? "*" : etag);
    const HttpResponse response = request(session, "PUT", href, std::move(headers), card);
    if (response.status == 412)
        return DavWrite::Refused;
    if (!succeeded(session, response, "PUT " + href))
        return DavWrite::Failed;
    newEtag = header(response, "etag");
    return DavWrite::Done;
}

DavWrite deleteCard(DavSession& session, const std::string& href, const std::string& etag)
{
    const HttpResponse response = request(session, "DELETE", href, {{"If-Match", etag}}, {});
    if (response.status == 412)
        return DavWrite::Refused;
    if (response.status == 404 || response.status == 410)
        return DavWrite::Done;
    return succeeded(session, response, "DELETE " + href) ? DavWrite::Done : DavWrite::Failed;
}

bool collectionInfo(DavSession& session, std::string& etag, std::string& displayName, size_t& cards)
{
    const HttpResponse response =
        request(session, "PROPFIND", session.collectionPath,
                {{"Depth", "1"}, {"Content-Type", "application/xml; charset=utf-8"}},
                "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<d:propfind xmlns:d=\"DAV:\"><d:prop><d:resourcetype/>"
                "<d:getetag/><d:displayname/></d:prop></d:propfind>\n");
    if (!succeeded(session, response, "the properties of the address book"))
        return false;
    cards = multistatusCards(session, response.body).size();
    eachElement(response.body, "response", [&](std::string_view answer) {
        if (sameHref(hrefPath(session, firstText(answer, "href")), session.collectionPath)) {
            etag = firstText(answer, "getetag");
            displayName = firstText(answer, "displayname");
        }
    });
    return true;
}

DavWrite putCollection(DavSession& session, const std::string& etag, const std::string& cards)
{
    const HttpResponse response = request(session, "PUT", session.collectionPath,
                                          {{"Content-Type", "text/vcard; charset=utf-8"}, {"If-Match", etag}}, cards);
    if (response.status == 0 || response.status == 401)
        return succeeded(session, response, "the upload of the address book") ? DavWrite::Done : DavWrite::Failed;
    return response.status >= 200 && response.status < 300 ? DavWrite::Done : DavWrite::Refused;
}

bool setDisplayName(DavSession& session, const std::string& name)
{
    std::string escaped;
    for (char c : name)
        escaped += c == '&' ? "&amp;" : c == '<' ? "&lt;" : std::string(1, c);
    const HttpResponse response =
        request(session, "PROPPATCH", session.collectionPath, {{"Content-Type", "application/xml; charset=utf-8"}},
                "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<d:propertyupdate xmlns:d=\"DAV:\"><d:set><d:prop>"
                "<d:displayname>" + escaped + "</d:displayname></d:prop></d:set></d:propertyupdate>\n");
    return succeeded(session, response, "the name of the address book");
}
