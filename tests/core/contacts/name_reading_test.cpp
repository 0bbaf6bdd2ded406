// Headings read as names, and entries read as contacts for export.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "contacts/contact_from_entry.h"
#include "contacts/entry_from_contact.h"
#include "contacts/name_reading.h"

namespace {

struct Expected {
    const char* heading;
    bool person;
    const char* family;
    const char* given;
    const char* prefix;
    const char* formatted;
    const char* phone;
};

// One table for the rules of the README: the comma form and the swap
// form put the last name first, a trailing number is taken off, titles go
// to the prefix, and whatever is no person's name stays whole.
TEST(NameReading, HeadingsAsACarefulPersonReadsThem)
{
    const Expected cases[] = {
        {"Müller, Jürgen, 0711 123456", true, "Müller", "Jürgen", "", "Jürgen Müller", "0711 123456"},
        {"Miller John", true, "Miller", "John", "", "John Miller", ""},
        {"Miller John Peter", true, "Miller", "John Peter", "", "John Peter Miller", ""},
        {"Schmidt, Anna und Hans", true, "Schmidt", "Anna und Hans", "", "Anna und Hans Schmidt", ""},
        {"van der Berg, Jan", true, "van der Berg", "Jan", "", "Jan van der Berg", ""},
        {"Dr. Vogel, Ulrike", true, "Vogel", "Ulrike", "Dr.", "Dr. Ulrike Vogel", ""},
        {"Vogel, Prof. Dr. Ulrike", true, "Vogel", "Ulrike", "Prof. Dr.", "Prof. Dr. Ulrike Vogel", ""},
        {"Dr. Vogel Ulrike", true, "Vogel", "Ulrike", "Dr.", "Dr. Ulrike Vogel", ""},
        {"Schulz, Anna 12345", true, "Schulz", "Anna", "", "Anna Schulz", "12345"},
        {"Anderson, Mark, London", true, "Anderson", "Mark", "", "Mark Anderson", ""},
        {"O'Brien, Kate", true, "O'Brien", "Kate", "", "Kate O'Brien", ""},
        {"Meier (0171) 555-1234", true, "Meier", "", "", "Meier", "(0171) 555-1234"},
        {"Weber, Lena Tel. +49 30 1234567", true, "Weber", "Lena", "", "Lena Weber", "+49 30 1234567"},
        {"Praxis Dr. Hahn", false, "", "", "", "Praxis Dr. Hahn", ""},
        {"Bäckerei Schulz, 0711 998877", false, "", "", "", "Bäckerei Schulz", "0711 998877"},
        {"Müller GmbH & Co. KG", false, "", "", "", "Müller GmbH & Co. KG", ""},
        {"Ärztehaus am Markt", false, "", "", "", "Ärztehaus am Markt", ""},
        {"Stadtbücherei Esslingen", false, "", "", "", "Stadtbücherei Esslingen", ""},
        {"Hotel zur Post", false, "", "", "", "Hotel zur Post", ""},
        {"Kurz Lang Breit Hoch", false, "", "", "", "Kurz Lang Breit Hoch", ""},
        {"Zimmer 12", false, "", "", "", "Zimmer 12", ""},
        {"Zahnarzt Müller", false, "", "", "", "Zahnarzt Müller", ""},
        {"ÄRZTEHAUS Nord", false, "", "", "", "ÄRZTEHAUS Nord", ""},
        {"Haus am See", false, "", "", "", "Haus am See", ""},
        {"Anderson, Mark, Zimmer 5", false, "", "", "", "Anderson, Mark, Zimmer 5", ""},   // a digit anywhere
        // Too few digits for a telephone number, and a number with nothing
        // in front of it: both stay in the name.
        {"Schulz, Anna 1234", false, "", "", "", "Schulz, Anna 1234", ""},
        {"0711 123456", false, "", "", "", "0711 123456", ""},
        {"  ", false, "", "", "", "", ""},
    };
    for (const Expected& e : cases) {
        SCOPED_TRACE(e.heading);
        const NameReading r = readHeading(e.heading);
        EXPECT_EQ(r.person, e.person);
        EXPECT_EQ(r.family, e.family);
        EXPECT_EQ(r.given, e.given);
        EXPECT_EQ(r.prefix, e.prefix);
        EXPECT_EQ(r.formattedName, e.formatted);
        EXPECT_EQ(r.phone, e.phone);
    }
}

TEST(ContactFromEntry, PredefinitionLinesBecomeProperties)
{
    const Contact c = contactFromEntry({
        "Becker, Lukas, 089 5544332",
        "Mühlweg 9",
        "D-80331 München",
        "Germany",
        "PhoneNumber: 089 55-44-332",
        "PhoneNumber: 0170 1234567 (mobile)",
        "FaxNumber: 089 5544333",
        "eMail: lukas.becker@example.de",
        "http:// www.example.org/becker",
        "Web: \"https://example.org/fotos\" and \"not a link\"",
        "\"http://example.org/a\\nb\"",   // a backslash would read as an escape
        "Birthday: 2.9.1988",
        "Birthday: 03.03.1999",
        "Profession: Fotograf",
        "Info: PhoneNumber: 1",
    });
    EXPECT_EQ(c.formattedName, "Lukas Becker");
    // The heading's number is the PhoneNumber line's, written otherwise:
    // it is not given twice.
    ASSERT_EQ(c.phones.size(), 3u);
    EXPECT_EQ(c.phones[0].number, "089 55-44-332");
    EXPECT_EQ(c.phones[1].number, "0170 1234567 (mobile)");
    EXPECT_TRUE(c.phones[2].fax);
    EXPECT_EQ(c.emails, std::vector<std::string>{"lukas.becker@example.de"});
    EXPECT_EQ(c.urls, (std::vector<std::string>{"http://www.example.org/becker", "https://example.org/fotos"}));
    EXPECT_EQ(c.birthday, "1988-09-02");   // the first Birthday line only
    EXPECT_EQ(c.titles, std::vector<std::string>{"Fotograf"});
    ASSERT_EQ(c.addresses.size(), 1u);
    EXPECT_EQ(c.addresses[0].street, "Mühlweg 9");
    EXPECT_EQ(c.addresses[0].postalCode, "D-80331");
    EXPECT_EQ(c.addresses[0].locality, "München");
    EXPECT_EQ(c.addresses[0].country, "Germany");
    EXPECT_EQ(c.note.substr(0, 37), "Becker, Lukas, 089 5544332\nMühlweg 9");
}

TEST(ContactFromEntry, HeadingNumberAloneIsTheFirstPhoneAndNoAddressWithoutPostalCode)
{
    const Contact c = contactFromEntry({"Smith, John, +44 20 7946 0958", "14 Baker Street", "London NW1 6XE"});
    ASSERT_EQ(c.phones.size(), 1u);
    EXPECT_EQ(c.phones[0].number, "+44 20 7946 0958");
    EXPECT_TRUE(c.addresses.empty());
    const Contact firm = contactFromEntry({"Praxis Dr. Hahn"});
    EXPECT_TRUE(firm.isOrganization && firm.organization == "Praxis Dr. Hahn");
}

TEST(ContactFromEntry, BirthdaysReadOnlyAsRealDates)
{
    EXPECT_EQ(birthdayFromText("29.02.2000"), "2000-02-29");
    EXPECT_EQ(birthdayFromText("29.02.1900"), "");   // no leap year
    EXPECT_EQ(birthdayFromText("31.04.1980"), "");
    EXPECT_EQ(birthdayFromText("14.02."), "--02-14");
    EXPECT_EQ(birthdayFromText("1961-02-14"), "1961-02-14");
    EXPECT_EQ(birthdayFromText("1961-13-14"), "");
    EXPECT_EQ(birthdayFromText("14.02.61"), "");      // a two-digit year says no century
    EXPECT_EQ(birthdayFromText("soon"), "");
}

// Import: the heading from the name and the first phone, properties as
// pre-definition lines, nothing said twice.
TEST(EntryFromContact, ForeignCardBecomesHeadingAddressAndPredefinitionLines)
{
    Contact c;
    c.formattedName = "Anna Schmidt";
    c.family = "Schmidt";
    c.given = "Anna";
    c.organization = "Example AG";
    c.phones = {{"030 111", true, ""}, {"+49 170 222", false, "mobile"}, {"030 333", false, "work"}};
    c.emails = {"anna@example.org"};
    c.urls = {"https://example.org"};
    c.birthday = "--06-30";
    c.titles = {"Lektorin"};
    c.addresses = {{"", "", "Hauptstraße 1", "Berlin", "", "10115", "Germany"},
                   {"", "", "Seeweg 2", "Kiel", "", "24103", ""}};
    c.note = "Met at the fair.\n\nAsk about the book.\n";
    const std::vector<std::string> expected = {
        "Schmidt, Anna, +49 170 222",
        "Hauptstraße 1",
        "10115 Berlin",
        "Germany",
        "FaxNumber: 030 111",
        "PhoneNumber: 030 333 (work)",
        "eMail: anna@example.org",
        "\"https://example.org\"",
        "Birthday: 30.06.",
        "Profession: Lektorin",
        "Info: Example AG",
        "Address: Seeweg 2, 24103 Kiel",
        "Met at the fair.",
        " ",
        "Ask about the book.",
    };
    EXPECT_EQ(entryFromContact(c), expected);
}

TEST(EntryFromContact, NoteNamingSomeoneElseKeepsTheCardsName)
{
    Contact c;
    c.family = "Berg";
    c.given = "Otto";
    c.note = "Kurz, Ina\nher neighbour";
    EXPECT_EQ(entryFromContact(c), (std::vector<std::string>{"Berg, Otto", "Kurz, Ina", "her neighbour"}));
    Contact nameless;
    nameless.emails = {"x@example.org"};
    EXPECT_EQ(entryFromContact(nameless), (std::vector<std::string>{"x@example.org", "eMail: x@example.org"}));
}

}  // namespace
