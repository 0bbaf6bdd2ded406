// Two-way sync against a CardDAV collection in memory: each kind of change
// on either side, first sync, conflicts, refused writes and runs broken
// off in the middle.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <functional>

#include "book_generator.h"
#include "contacts/vcard_reader.h"
#include "core/sync/fake_carddav.h"
#include "sync/dav_client.h"
#include "sync/sync_card.h"
#include "sync/sync_engine.h"

namespace {

using Entries = std::vector<std::string>;

const std::string collection = "https://dav.example/anna/contacts/";
const std::string A = "M\xFCller, J\xFCrgen\r\nK\xF6nigstra\xDF" "e 5\r\n70173 Stuttgart\r\nPhoneNumber: 0711 123456\r\nFriend from school";
const std::string A2 = "M\xFCller, J\xFCrgen\r\nK\xF6nigstra\xDF" "e 5\r\n70173 Stuttgart\r\nPhoneNumber: 0711 999999 (mobile)\r\nFriend from school";
const std::string B = "Schmidt, Anna, 089 555123\r\neMail: anna@example.de\r\nBirthday: 14.02.1961";
const std::string B2 = "Schmidt, Anna, 089 555123\r\neMail: anna@new.example\r\nBirthday: 14.02.1961";
const std::string C = "Praxis Dr. Weber\r\nPhoneNumber: 030 998877\r\n\"https://weber.example\"; Mo-Fr";
const std::string D = "Zander, Paul\r\nInfo: tennis on Mondays";
const std::string D2 = "Zander, Paul\r\nInfo: tennis on Tuesdays";
const std::string D3 = "Zander, Paul\r\nInfo: squash";
const std::string E = "Neumann, Eva\r\nPhoneNumber: 040 112233";
const std::string F = "Vogel, Lena, 0170 1234567";
const std::string cardF = "BEGIN:VCARD\r\nVERSION:3.0\r\nUID:f1\r\nFN:Lena Vogel\r\nN:Vogel;Lena;;;\r\n"
                          "TEL;TYPE=CELL:0170 1234567\r\nEND:VCARD\r\n";

std::string bookOf(const Entries& entries)
{
    std::string text;
    for (const std::string& entry : entries)
        text += entry + "\r\n\r\n";
    return text;
}

Entries sorted(Entries entries)
{
    std::sort(entries.begin(), entries.end());
    return entries;
}

Entries entriesOf(const std::string& book)
{
    Entries entries;
    size_t start = 0, end;
    while ((end = book.find("\r\n\r\n", start)) != std::string::npos) {
        entries.push_back(book.substr(start, end - start));
        start = end + 4;
    }
    return sorted(entries);
}

Entries serverEntries(const FakeCardDav& server)
{
    Entries entries;
    for (const auto& [href, card] : server.cards)
        entries.push_back(entryFromCard(card.body));
    return sorted(entries);
}

// A book and its state on this side, the collection on the other.
struct World {
    FakeCardDav server;
    std::string book, state;

    SyncOutcome sync()
    {
        SyncSettings settings{collection, "anna", "secret", false, false};
        SyncOutcome outcome = synchronise(book, state, settings, std::ref(server));
        if (outcome.ok) {
            book = outcome.bookText;
            state = outcome.stateText;
        }
        return outcome;
    }

    std::string hrefOf(const std::string& heading)
    {
        for (const auto& [href, card] : server.cards)
            if (headingOf(entryFromCard(card.body)) == heading)
                return href;
        ADD_FAILURE() << "no card for " << heading;
        return {};
    }

    // Another client changes a card's text.
    void phoneEdit(const std::string& heading, const std::string& from, const std::string& to)
    {
        std::string body = server.cards[hrefOf(heading)].body;
        ASSERT_NE(body.find(from), std::string::npos) << body;
        body.replace(body.find(from), from.size(), to);
        server.store(hrefOf(heading), body);
    }

    void bookEdit(const std::string& from, const std::string& to)
    {
        Entries entries = entriesOf(book);
        std::replace(entries.begin(), entries.end(), from, to);
        book = bookOf(entries);
    }
};

void expectSummary(const SyncSummary& s, std::array<int, 5> want, const char* name)
{
    EXPECT_EQ((std::array<int, 5>{s.up, s.down, s.deletedHere, s.deletedThere, s.conflicts}), want) << name;
}

// Both sides hold exactly entries, and another run finds nothing to do,
// downloads no card and changes nothing.
void expectSettled(World& world, const Entries& entries, const char* name)
{
    EXPECT_EQ(entriesOf(world.book), sorted(entries)) << name;
    EXPECT_EQ(serverEntries(world.server), sorted(entries)) << name;
    const std::string book = world.book, state = world.state;
    const int served = world.server.cardsServed, writes = world.server.writes;
    const SyncOutcome again = world.sync();
    ASSERT_TRUE(again.ok) << name << ": " << again.error;
    expectSummary(again.summary, {0, 0, 0, 0, 0}, name);
    EXPECT_EQ(world.server.cardsServed, served) << name;
    EXPECT_EQ(world.server.writes, writes) << name;
    EXPECT_EQ(world.book, book) << name;
    EXPECT_EQ(world.state, state) << name;
}

World syncedWorld(bool syncTokens)
{
    World world;
    world.server.offersSyncTokens = syncTokens;
    world.book = bookOf({A, B, C, D});
    EXPECT_TRUE(world.sync().ok);
    return world;
}

}  // namespace

TEST(Sync, EachChangeReachesTheOtherSide)
{
    struct Scenario {
        const char* name;
        std::function<void(World&)> change;
        std::array<int, 5> summary;   // up, down, deleted here, deleted there, conflicts
        Entries after;
    };
    const std::string serverCopy = "Zander, Paul (server copy)\r\nInfo: tennis on Tuesdays";
    const Scenario scenarios[] = {
        {"edited in the book", [](World& w) { w.bookEdit(B, B2); }, {1, 0, 0, 0, 0}, {A, B2, C, D}},
        {"number changed on the phone",
         [](World& w) { w.phoneEdit("M\xFCller, J\xFCrgen", "TEL;TYPE=voice:0711 123456", "TEL;TYPE=CELL:0711 999999"); },
         {0, 1, 0, 0, 0}, {A2, B, C, D}},
        {"deleted in the book", [](World& w) { w.book = bookOf({A, B, D}); }, {0, 0, 0, 1, 0}, {A, B, D}},
        {"deleted on the phone", [](World& w) { w.server.remove(w.hrefOf("Praxis Dr. Weber")); },
         {0, 0, 1, 0, 0}, {A, B, D}},
        {"deleted in the book, edited on the phone",
         [](World& w) {
             w.book = bookOf({A, B, C});
             w.phoneEdit("Zander, Paul", "Mondays", "Tuesdays");
         },
         {0, 1, 0, 0, 0}, {A, B, C, D2}},
        {"edited in the book, deleted on the phone",
         [](World& w) {
             w.bookEdit(B, B2);
             w.server.remove(w.hrefOf("Schmidt, Anna, 089 555123"));
         },
         {1, 0, 0, 0, 0}, {A, B2, C, D}},
        {"edited on both sides",
         [](World& w) {
             w.bookEdit(D, D3);
             w.phoneEdit("Zander, Paul", "Mondays", "Tuesdays");
         },
         {0, 0, 0, 0, 1}, {A, B, C, D3, serverCopy}},
        {"the same edit on both sides",
         [](World& w) {
             w.bookEdit(B, B2);
             w.server.store(w.hrefOf("Schmidt, Anna, 089 555123"), cardFromEntry(B2, "b"));
         },
         {0, 0, 0, 0, 0}, {A, B2, C, D}},
        {"a card made on the phone, named unlike its UID, edited in the book",
         [](World& w) {
             w.server.store("/anna/contacts/phone-7.vcf", cardF);
             w.sync();
             w.bookEdit(F, F + "\r\nInfo: met at the lake");
         },
         {1, 0, 0, 0, 0}, {A, B, C, D, F + "\r\nInfo: met at the lake"}},
        {"added on both sides",
         [](World& w) {
             w.book += E + "\r\n\r\n";
             w.server.store("/anna/contacts/f1.vcf", cardF);
         },
         {1, 1, 0, 0, 0}, {A, B, C, D, E, F}},
    };
    for (bool syncTokens : {false, true})
    for (const Scenario& scenario : scenarios) {
        SCOPED_TRACE(syncTokens ? "changes since the sync token" : "whole listing");
        World world = syncedWorld(syncTokens);
        scenario.change(world);
        const SyncOutcome outcome = world.sync();
        ASSERT_TRUE(outcome.ok) << scenario.name << ": " << outcome.error;
        expectSummary(outcome.summary, scenario.summary, scenario.name);
        expectSettled(world, scenario.after, scenario.name);
    }
}

TEST(Sync, FirstSyncJoinsBothSidesAndPairsEqualContacts)
{
    World world;
    world.book = bookOf({A, B});
    world.server.store("/anna/contacts/b.vcf", cardFromEntry(B, "b"));
    world.server.store("/anna/contacts/f1.vcf", cardF);
    const SyncOutcome outcome = world.sync();
    ASSERT_TRUE(outcome.ok) << outcome.error;
    expectSummary(outcome.summary, {1, 1, 0, 0, 0}, "first sync");
    EXPECT_EQ(outcome.stateText.find("secret"), std::string::npos) << "the password is never kept";
    expectSettled(world, {A, B, F}, "first sync");
}

TEST(Sync, AWriteRefusedBecauseSomeoneWroteFirstIsAConflictNextTime)
{
    World world = syncedWorld(true);
    world.bookEdit(B, B2);
    world.server.beforeWrite = [&](const HttpRequest&) {
        world.server.beforeWrite = nullptr;
        world.phoneEdit("Schmidt, Anna, 089 555123", "anna@example.de", "anna@phone.example");
    };
    SyncOutcome outcome = world.sync();
    ASSERT_TRUE(outcome.ok) << outcome.error;
    expectSummary(outcome.summary, {0, 0, 0, 0, 0}, "refused");
    outcome = world.sync();
    expectSummary(outcome.summary, {0, 0, 0, 0, 1}, "next run");
    const std::string copy = "Schmidt, Anna, 089 555123 (server copy)\r\neMail: anna@phone.example\r\nBirthday: 14.02.1961";
    expectSettled(world, {A, B2, C, D, copy}, "after the conflict");
}

// Every request of a run with changes on both sides in turn is the one the
// server does not answer: the run fails, the caller keeps book and state,
// and the next run ends where an unbroken run would, nothing lost or doubled;
// with and without sync tokens.
TEST(Sync, ARunBrokenOffAnywhereIsCompletedByTheNext)
{
    for (bool syncTokens : {false, true}) {
    auto changed = [&] {
        World world = syncedWorld(syncTokens);
        world.bookEdit(B, B2);
        world.book = bookOf({A, B2, D, E});
        world.phoneEdit("Zander, Paul", "Mondays", "Tuesdays");
        world.server.remove(world.hrefOf("M\xFCller, J\xFCrgen"));
        world.server.store("/anna/contacts/f1.vcf", cardF);
        return world;
    };
    const Entries expected{B2, D2, E, F};
    World unbroken = changed();
    const int first = unbroken.server.requests;
    ASSERT_TRUE(unbroken.sync().ok);
    const int requests = unbroken.server.requests - first;
    ASSERT_GE(requests, 4);
    for (int answered = 0; answered < requests; ++answered) {
        World world = changed();
        const std::string book = world.book, state = world.state;
        world.server.answerRequests = world.server.requests + answered;
        // Only the last request, which asks for the token behind the run's
        // own writes, may go unanswered without failing the run.
        if (world.sync().ok) {
            EXPECT_TRUE(syncTokens && answered == requests - 1) << answered;
        } else {
            EXPECT_EQ(world.book, book);
            EXPECT_EQ(world.state, state);
        }
        world.server.answerRequests = -1;
        ASSERT_TRUE(world.sync().ok) << answered;
        expectSettled(world, expected, ("broken after " + std::to_string(answered)).c_str());
    }
    }
}

// Every entry goes out as a card and comes back byte for byte, however the
// server folds the card's lines; the note holds only what no property says.
TEST(SyncCard, EntriesComeBackVerbatimAndTheNoteHoldsTheRest)
{
    BookRecipe recipe;
    recipe.entries = 1500;
    recipe.exchangeLines = true;
    const Entries entries = entriesOf(generateBook(recipe).text);
    int compared = 0;
    for (const std::string& entry : entries) {
        const std::string card = cardFromEntry(entry, "u");
        std::string refolded;   // unfolded, then folded at 40 with bare LF
        for (size_t i = 0; i < card.size(); ++i) {
            if (card.compare(i, 3, "\r\n ") == 0) {
                i += 2;
                continue;
            }
            if (card.compare(i, 2, "\r\n") == 0) {
                refolded += "\n";
                ++i;
                continue;
            }
            const size_t lineStart = refolded.rfind('\n') + 1;
            if (refolded.size() - lineStart >= 40 && (static_cast<unsigned char>(card[i]) & 0xC0) != 0x80)
                refolded += "\n ";
            refolded += card[i];
        }
        ASSERT_EQ(entryFromCard(card), entry);
        ASSERT_EQ(entryFromCard(refolded), entry) << refolded;
        ++compared;
    }
    EXPECT_GT(compared, 1000);
    EXPECT_EQ(readVCards(cardFromEntry(A, "a"))[0].note, "Friend from school");
}

TEST(Sync, PlainHttpOnlyToThisMachineUnlessAllowed)
{
    struct Case {
        const char* url;
        bool insecure, ok;
    } cases[] = {
        {"https://cloud.example.org/remote.php/dav/addressbooks/users/anna/contacts/", false, true},
        {"http://127.0.0.1:5232/anna/book/", false, true},
        {"http://localhost/anna/book/", false, true},
        {"http://cloud.example.org/anna/", false, false},
        {"http://127.0.0.1.example.org/anna/", false, false},
        {"http://cloud.example.org/anna/", true, true},
        {"ftp://cloud.example.org/anna/", true, false},
    };
    for (const Case& c : cases) {
        DavSession session;
        EXPECT_EQ(openDavSession(session, c.url, c.insecure, "anna", "pw"), c.ok) << c.url;
    }
}
