// A CardDAV collection in memory behind HttpSend, as small as the sync
// needs: PROPFIND, sync-collection (when offered), addressbook-multiget,
// GET, PUT and DELETE with their preconditions.  Counts what it serves and can stop answering after a
// number of requests, like a server that goes away in the middle.
#pragma once

#include <functional>
#include <map>
#include <string>

#include "sync/http.h"

struct FakeCardDav {
    struct Card {
        std::string etag, body;
    };
    std::map<std::string, Card> cards;   // by href
    bool offersSyncTokens = false;
    int clock = 0;                       // the sync token: changes so far
    std::map<std::string, int> changedAt, deletedAt;
    int requests = 0;
    int cardsServed = 0;
    int writes = 0;
    int answerRequests = -1;             // >= 0: requests answered before it goes silent
    std::function<void(const HttpRequest&)> beforeWrite;   // a phone writing at the same moment

    HttpResponse operator()(const HttpRequest& request);
    void store(const std::string& href, const std::string& body);
    void remove(const std::string& href);
};
