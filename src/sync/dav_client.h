// The CardDAV requests of a sync, over the network door (http.h): list a
// collection's cards with their ETags, fetch cards, and write and delete
// them only when the server still holds what the sync last saw of them.
#pragma once

#include <string>
#include <vector>

#include "sync/http.h"

struct DavSession {
    HttpSend send;
    std::string origin;         // "https://host:port"
    std::string collectionPath; // "/remote.php/dav/addressbooks/users/anna/contacts/"
    std::string authorization;  // "Basic ..." or empty
    std::string error;          // why the last request failed, for the user
    int requests = 0;           // requests sent, for tests and figures
    int lastStatus = 0;         // the HTTP status of the last answer
    int cardsFetched = 0;
};

// Fills origin and collectionPath from url.  Plain http only to this
// machine (127.0.0.1, ::1, localhost) unless insecure is allowed.
bool openDavSession(DavSession& session, const std::string& url, bool allowInsecureHttp, const std::string& user,
                    const std::string& password);

struct DavCard {
    std::string href;   // the path, as the server lists it
    std::string etag;
    std::string card;   // the vCard text; empty when only listed
};

// Every card of the collection with its ETag (PROPFIND, Depth 1).
bool listCards(DavSession& session, std::vector<DavCard>& cards);

enum class DavReport { Done, Unsupported, Failed };

// What changed since token (sync-collection REPORT, RFC 6578): cards new
// or changed with their ETags, and the hrefs of removed ones; an empty
// token asks for every card.  Unsupported when the server does not offer
// the report or no longer knows the token.
DavReport changesSince(DavSession& session, const std::string& token, std::vector<DavCard>& changed,
                       std::vector<std::string>& removed, std::string& newToken);

// The cards at hrefs, with their ETags: addressbook-multiget REPORTs, or
// one GET each where the server does not take them.  A card that is gone by
// now is left out.
bool fetchCards(DavSession& session, const std::vector<std::string>& hrefs, std::vector<DavCard>& cards);

enum class DavWrite { Done, Refused, Failed };   // Refused: 412, someone else wrote first

// PUT with If-Match: etag, or If-None-Match: * when etag is empty (a new
// card).  newEtag: the ETag the server gave back, or empty.
DavWrite putCard(DavSession& session, const std::string& href, const std::string& etag, const std::string& card,
                 std::string& newEtag);
// The collection's own ETag and display name, and how many cards it holds
// (PROPFIND, Depth 1).
bool collectionInfo(DavSession& session, std::string& etag, std::string& displayName, size_t& cards);

// The whole collection replaced by cards (vCards one after the other) in
// one PUT with If-Match: etag, where the server takes an address book whole
// (Radicale does; it names each card by its UID + ".vcf").  Refused when
// the server does not, or when the collection changed meanwhile.
DavWrite putCollection(DavSession& session, const std::string& etag, const std::string& cards);
bool setDisplayName(DavSession& session, const std::string& name);

// DELETE with If-Match: etag.  A card that is gone already counts as done.
DavWrite deleteCard(DavSession& session, const std::string& href, const std::string& etag);
