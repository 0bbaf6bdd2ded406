#include "sync/sync_engine.h"

#include <algorithm>
#include <cstdio>
#include <random>
#include <unordered_map>
#include <unordered_set>

#include "sync/dav_client.h"
#include "sync/sync_card.h"
#include "sync/sync_state.h"

namespace {

constexpr std::string_view separator = "\r\n\r\n";
constexpr std::string_view serverCopyMark = " (server copy)";
// From this many new entries on, an empty collection is filled in one
// request where the server allows it: one PUT per card costs some servers
// time in proportion to the cards they hold already.
constexpr size_t wholeUploadFrom = 100;

struct Book {
    std::vector<std::string> entries;
    std::vector<bool> removed;
    std::vector<std::string> added;
    std::string tail;   // text behind the last closed entry: no entry, kept as it is
};

Book splitBook(std::string_view text)
{
    Book book;
    size_t start = 0, end;
    while ((end = text.find(separator, start)) != std::string_view::npos) {
        book.entries.emplace_back(text.substr(start, end - start));
        start = end + separator.size();
    }
    book.tail = text.substr(start);
    book.removed.assign(book.entries.size(), false);
    return book;
}

std::string joinedBook(const Book& book)
{
    std::string text;
    for (size_t i = 0; i < book.entries.size(); ++i)
        if (!book.removed[i])
            text.append(book.entries[i]).append(separator);
    for (const std::string& entry : book.added)
        text.append(entry).append(separator);
    return text + book.tail;
}

SyncRecord recordFor(const std::string& href, const std::string& etag, std::string_view entry)
{
    return {href, etag, textHash(entry), textHash(headingOf(entry))};
}

std::string newCardName()
{
    static std::mt19937_64 random{std::random_device{}()};
    char name[40];
    const uint64_t a = random(), b = random();
    std::snprintf(name, sizeof name, "%08x-%04x-4%03x-%04x-%012llx", static_cast<unsigned>(a >> 32),
                  static_cast<unsigned>(a >> 16 & 0xFFFF), static_cast<unsigned>(a & 0xFFF),
                  static_cast<unsigned>(0x8000 | (b >> 48 & 0x3FFF)),
                  static_cast<unsigned long long>(b & 0xFFFFFFFFFFFFull));
    return name;
}

// The card's UID: the last part of its path without ".vcf", as clients
// name the cards they make.
std::string uidOf(const std::string& href)
{
    std::string name = href.substr(href.rfind('/') + 1);
    if (name.ends_with(".vcf"))
        name.resize(name.size() - 4);
    return name;
}

enum class Side { Unchanged, Changed, Deleted };

// One run's work after both sides were read: what each record, entry and
// card becomes, and the writes that make the server agree.
struct Run {
    const SyncSettings& settings;
    DavSession& session;
    Book& book;
    SyncState next;
    SyncSummary summary;
    int writes = 0;   // requests that changed the server

    // Sends entry to href (If-Match etag, or as a new card); the pairing
    // it leaves behind goes into the next state, or kept when the server
    // refused.  False when the request failed.
    bool put(const std::string& href, const std::string& etag, const std::string& entry, const SyncRecord* kept,
             bool& refused)
    {
        refused = false;
        std::string newEtag;
        if (!settings.dryRun) {
            ++writes;
            DavWrite result = putCard(session, href, etag, cardFromEntry(entry, uidOf(href)), newEtag);
            // 409: the card there has another UID than its name says (made by
            // another client), and a server keeps a card's UID.
            std::vector<DavCard> there;
            if (result == DavWrite::Failed && session.lastStatus == 409 && !etag.empty() &&
                fetchCards(session, {href}, there) && there.size() == 1 && !cardUid(there[0].card).empty())
                result = putCard(session, href, etag, cardFromEntry(entry, cardUid(there[0].card)), newEtag);
            if (result == DavWrite::Failed)
                return false;
            refused = result == DavWrite::Refused;
        }
        if (refused) {
            // Someone wrote first: left as it was, it is a conflict next time.
            if (kept)
                next.records.push_back(*kept);
        } else {
            next.records.push_back(recordFor(href, newEtag, entry));
        }
        return true;
    }

    bool remove(const SyncRecord& record, const std::string& etag)
    {
        if (settings.dryRun)
            return true;
        ++writes;
        const DavWrite result = deleteCard(session, record.href, etag);
        if (result == DavWrite::Refused)
            next.records.push_back(record);
        return result != DavWrite::Failed;
    }
};

// Every card of the collection with its ETag, and the sync token to ask
// for changes next time: from the changes since the last token when the
// server offers them, else from a listing of the whole collection.
bool listServer(DavSession& session, const SyncState& old, std::vector<DavCard>& listed, std::string& token)
{
    std::vector<DavCard> changed;
    std::vector<std::string> removed;
    if (!old.token.empty()) {
        const DavReport report = changesSince(session, old.token, changed, removed, token);
        if (report == DavReport::Failed)
            return false;
        if (report == DavReport::Done) {
            std::unordered_map<std::string, size_t> at;
            for (const SyncRecord& record : old.records) {
                at[record.href] = listed.size();
                listed.push_back({record.href, record.etag, {}});
            }
            for (DavCard& card : changed) {
                if (auto it = at.find(card.href); it != at.end()) {
                    listed[it->second].etag = card.etag;
                } else {
                    at[card.href] = listed.size();
                    listed.push_back(std::move(card));
                }
            }
            std::unordered_set<std::string> gone(removed.begin(), removed.end());
            std::erase_if(listed, [&](const DavCard& card) { return gone.count(card.href) > 0; });
            return true;
        }
        changed.clear();
        removed.clear();
    }
    token.clear();
    const DavReport report = changesSince(session, {}, changed, removed, token);
    if (report == DavReport::Failed)
        return false;
    if (report == DavReport::Done) {
        listed = std::move(changed);
        return true;
    }
    token.clear();
    return listCards(session, listed);
}

// The token to keep after a run that wrote: the server's newest when every
// change since the run's token is one of the run's own writes, so that the
// next run does not see them again; else the run's token, so that it does
// see what someone else did meanwhile.
std::string tokenAfterOwnWrites(DavSession& session, const std::string& token, const SyncState& next)
{
    std::vector<DavCard> changed;
    std::vector<std::string> removed;
    std::string newest;
    if (changesSince(session, token, changed, removed, newest) != DavReport::Done)
        return token;
    std::unordered_map<std::string, std::string> recorded;
    for (const SyncRecord& record : next.records)
        recorded[record.href] = record.etag;
    for (const DavCard& card : changed)
        if (auto it = recorded.find(card.href); it == recorded.end() || it->second != card.etag)
            return token;
    for (const std::string& href : removed)
        if (recorded.count(href))
            return token;
    return newest;
}

enum class WholeUpload { Done, NotTaken, Failed };

// The entries at toSend as the whole content of the empty collection, in
// one PUT that only succeeds while the collection is as listed; then the
// collection listed again for the cards' ETags and a new sync token.  A
// card the listing does not show by its expected name is left unpaired:
// the next run finds it among the new cards and pairs it by its text.
WholeUpload uploadWhole(DavSession& session, const Book& book, const std::vector<size_t>& toSend, SyncState& next,
                        std::string& token)
{
    std::string etag, displayName;
    size_t cardsThere = 0;
    if (!collectionInfo(session, etag, displayName, cardsThere))
        return WholeUpload::Failed;
    // The ETag vouches for the collection being empty still when the PUT arrives.
    if (etag.empty() || cardsThere > 0)
        return WholeUpload::NotTaken;
    std::string cards;
    std::vector<std::string> names;
    for (size_t i : toSend) {
        names.push_back(newCardName());
        cards += cardFromEntry(book.entries[i], names.back());
    }
    const DavWrite result = putCollection(session, etag, cards);
    if (result != DavWrite::Done)
        return result == DavWrite::Failed ? WholeUpload::Failed : WholeUpload::NotTaken;
    // The upload made the collection anew, without its name.
    if (!displayName.empty() && !setDisplayName(session, displayName))
        return WholeUpload::Failed;
    std::vector<DavCard> listed;
    if (!listServer(session, SyncState(), listed, token))
        return WholeUpload::Failed;
    std::unordered_map<std::string, std::string> etags;
    for (const DavCard& card : listed)
        etags[card.href] = card.etag;
    for (size_t k = 0; k < toSend.size(); ++k) {
        const std::string href = session.collectionPath + names[k] + ".vcf";
        if (auto it = etags.find(href); it != etags.end())
            next.records.push_back(recordFor(href, it->second, book.entries[toSend[k]]));
    }
    return WholeUpload::Done;
}

SyncOutcome failed(std::string why)
{
    SyncOutcome outcome;
    outcome.error = std::move(why);
    return outcome;
}

}  // namespace

SyncOutcome synchronise(std::string_view bookText, std::string_view stateText, const SyncSettings& settings,
                        const HttpSend& send, const std::function<void(int percent)>& progress)
{
    DavSession session;
    session.send = send;
    if (!openDavSession(session, settings.collectionUrl, settings.allowInsecureHttp, settings.user,
                        settings.password))
        return failed(session.error);
    SyncState old;
    std::string why;
    if (!parseSyncState(stateText, old, why))
        return failed(why);
    if (!old.url.empty() && old.url != settings.collectionUrl) {
        old.records.clear();   // pairings with another collection
        old.token.clear();
    }
    const std::vector<SyncRecord>& records = old.records;
    Book book = splitBook(bookText);
    const size_t entryCount = book.entries.size();

    // The book's side: an entry with the text a record saw is that contact
    // unchanged; among the rest, one with a record's heading is that
    // contact edited.  Entries left over are new, records left over deleted.
    std::vector<int> recordOfEntry(entryCount, -1), entryOfRecord(records.size(), -1);
    {
        std::unordered_multimap<uint64_t, int> byText, byHeading;
        for (size_t r = 0; r < records.size(); ++r)
            byText.emplace(records[r].entryHash, static_cast<int>(r));
        for (size_t i = 0; i < entryCount; ++i) {
            auto it = byText.find(textHash(book.entries[i]));
            if (it == byText.end())
                continue;
            recordOfEntry[i] = it->second;
            entryOfRecord[it->second] = static_cast<int>(i);
            byText.erase(it);
        }
        for (const auto& [hash, r] : byText)
            byHeading.emplace(records[r].headingHash, r);
        for (size_t i = 0; i < entryCount; ++i) {
            if (recordOfEntry[i] >= 0)
                continue;
            auto it = byHeading.find(textHash(headingOf(book.entries[i])));
            if (it == byHeading.end())
                continue;
            recordOfEntry[i] = it->second;
            entryOfRecord[it->second] = static_cast<int>(i);
            byHeading.erase(it);
        }
    }
    if (progress)
        progress(5);

    // The server's side: ETags tell what changed; only those cards and new
    // ones are downloaded.
    std::vector<DavCard> listed;
    std::string token;
    if (!listServer(session, old, listed, token))
        return failed(session.error);
    std::unordered_map<std::string, const DavCard*> listedByHref;
    for (const DavCard& card : listed)
        listedByHref[card.href] = &card;
    std::vector<std::string> wanted;
    std::unordered_set<std::string> recorded;
    for (const SyncRecord& record : records) {
        recorded.insert(record.href);
        auto it = listedByHref.find(record.href);
        if (it != listedByHref.end() && it->second->etag != record.etag)
            wanted.push_back(record.href);
    }
    std::vector<std::string> newHrefs;
    for (const DavCard& card : listed)
        if (!recorded.count(card.href))
            newHrefs.push_back(card.href);
    std::sort(newHrefs.begin(), newHrefs.end());
    wanted.insert(wanted.end(), newHrefs.begin(), newHrefs.end());
    if (progress)
        progress(15);
    std::vector<DavCard> fetched;
    if (!fetchCards(session, wanted, fetched))
        return failed(session.error);
    std::unordered_map<std::string, const DavCard*> fetchedByHref;
    for (const DavCard& card : fetched)
        fetchedByHref[card.href] = &card;
    if (progress)
        progress(40);

    auto report = [&](int from, int span, size_t done, size_t all) {
        if (progress && all > 0 && done % 64 == 0)
            progress(from + static_cast<int>(span * done / all));
    };
    Run run{settings, session, book, {}, {}};
    std::vector<std::string> copiesToSend;   // the server's side of a conflict, kept as a contact of its own
    for (size_t r = 0; r < records.size(); ++r) {
        report(40, 30, r, records.size());
        const SyncRecord& record = records[r];
        const int i = entryOfRecord[r];
        const Side bookSide = i < 0                                             ? Side::Deleted
                              : textHash(book.entries[i]) == record.entryHash ? Side::Unchanged
                                                                                : Side::Changed;
        Side serverSide = Side::Deleted;
        std::string etag, serverEntry;
        if (auto it = listedByHref.find(record.href); it != listedByHref.end()) {
            etag = it->second->etag;
            serverSide = Side::Unchanged;
            if (etag != record.etag) {
                auto card = fetchedByHref.find(record.href);
                if (card == fetchedByHref.end()) {
                    serverSide = Side::Deleted;   // gone since the listing
                } else {
                    etag = card->second->etag.empty() ? etag : card->second->etag;
                    serverEntry = entryFromCard(card->second->card);
                    if (textHash(serverEntry) != record.entryHash)
                        serverSide = Side::Changed;
                }
            }
        }
        const SyncRecord seen{record.href, etag, record.entryHash, record.headingHash};
        bool refused = false;

        if (bookSide == Side::Unchanged && serverSide == Side::Unchanged) {
            run.next.records.push_back(seen);
        } else if (bookSide == Side::Changed && serverSide == Side::Unchanged) {
            if (!run.put(record.href, etag, book.entries[i], &record, refused))
                return failed(session.error);
            run.summary.up += !refused;
        } else if (bookSide == Side::Unchanged && serverSide == Side::Changed) {
            book.entries[i] = serverEntry;
            run.next.records.push_back(recordFor(record.href, etag, serverEntry));
            ++run.summary.down;
        } else if (bookSide == Side::Deleted && serverSide == Side::Unchanged) {
            if (!run.remove(seen, etag))
                return failed(session.error);
            ++run.summary.deletedThere;
        } else if (bookSide == Side::Unchanged && serverSide == Side::Deleted) {
            book.removed[i] = true;
            ++run.summary.deletedHere;
        } else if (bookSide == Side::Deleted && serverSide == Side::Changed) {
            // Deleted here, changed there: the changed version comes back.
            book.added.push_back(serverEntry);
            run.next.records.push_back(recordFor(record.href, etag, serverEntry));
            ++run.summary.down;
        } else if (bookSide == Side::Changed && serverSide == Side::Deleted) {
            // Changed here, deleted there: the changed version goes back.
            if (!run.put(record.href, {}, book.entries[i], &record, refused))
                return failed(session.error);
            run.summary.up += !refused;
        } else if (bookSide == Side::Changed && serverSide == Side::Changed) {
            if (serverEntry == book.entries[i]) {
                // Both made the same change (or an earlier run sent it and failed later).
                run.next.records.push_back(recordFor(record.href, etag, serverEntry));
                continue;
            }
            // A conflict: the book keeps its version, which the server gets;
            // the server's version stays as a contact of its own.
            const std::string_view heading = headingOf(serverEntry);
            std::string copy = std::string(heading) + std::string(serverCopyMark) + serverEntry.substr(heading.size());
            book.added.push_back(copy);
            copiesToSend.push_back(std::move(copy));
            if (!run.put(record.href, etag, book.entries[i], &record, refused))
                return failed(session.error);
            ++run.summary.conflicts;
        }
        // Deleted on both sides: the record goes.
    }

    // Cards new on the server: an unpaired entry with the same text is the
    // same contact (a first sync, or a run that failed after sending it);
    // any other card becomes an entry.
    std::unordered_multimap<uint64_t, size_t> newEntries;
    for (size_t i = 0; i < entryCount; ++i)
        if (recordOfEntry[i] < 0)
            newEntries.emplace(textHash(book.entries[i]), i);
    for (const std::string& href : newHrefs) {
        auto card = fetchedByHref.find(href);
        if (card == fetchedByHref.end())
            continue;
        const std::string entry = entryFromCard(card->second->card);
        run.next.records.push_back(recordFor(href, card->second->etag, entry));
        auto range = newEntries.equal_range(textHash(entry));
        auto same = std::find_if(range.first, range.second,
                                 [&](const auto& candidate) { return book.entries[candidate.second] == entry; });
        if (same != range.second) {
            newEntries.erase(same);
            continue;
        }
        book.added.push_back(entry);
        ++run.summary.down;
    }

    // Entries new in the book go up as new cards.
    std::vector<size_t> toSend;
    for (const auto& [hash, i] : newEntries)
        toSend.push_back(i);
    std::sort(toSend.begin(), toSend.end());
    if (listed.empty() && run.writes == 0 && toSend.size() >= wholeUploadFrom && !settings.dryRun) {
        const WholeUpload upload = uploadWhole(session, book, toSend, run.next, token);
        if (upload == WholeUpload::Failed)
            return failed(session.error);
        if (upload == WholeUpload::Done) {
            run.summary.up += static_cast<int>(toSend.size());
            toSend.clear();
        }
    }
    for (size_t k = 0; k < toSend.size(); ++k) {
        report(70, 30, k, toSend.size());
        const size_t i = toSend[k];
        bool refused = false;
        if (!run.put(session.collectionPath + newCardName() + ".vcf", {}, book.entries[i], nullptr, refused))
            return failed(session.error);
        run.summary.up += !refused;
    }
    for (const std::string& copy : copiesToSend) {
        bool refused = false;
        if (!run.put(session.collectionPath + newCardName() + ".vcf", {}, copy, nullptr, refused))
            return failed(session.error);
    }

    if (!token.empty() && run.writes > 0)
        token = tokenAfterOwnWrites(session, token, run.next);

    SyncOutcome outcome;
    outcome.ok = true;
    outcome.summary = run.summary;
    if (settings.dryRun) {
        outcome.bookText = std::string(bookText);
        outcome.stateText = std::string(stateText);
    } else {
        run.next.url = settings.collectionUrl;
        run.next.user = settings.user;
        run.next.token = token;
        outcome.bookText = joinedBook(book);
        outcome.stateText = syncStateText(run.next);
    }
    if (progress)
        progress(100);
    return outcome;
}

std::string syncSummaryLine(const SyncSummary& s)
{
    return "sync: " + std::to_string(s.up) + " up, " + std::to_string(s.down) + " down, " +
           std::to_string(s.deletedHere) + " deleted here, " + std::to_string(s.deletedThere) + " deleted there, " +
           std::to_string(s.conflicts) + " conflicts";
}
