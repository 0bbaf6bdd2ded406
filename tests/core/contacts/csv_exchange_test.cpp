// CSV written and read.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "contacts/csv_formula_guard.h"
#include "contacts/csv_reader.h"
#include "contacts/csv_writer.h"
#include "contacts/exchange_text.h"
#include "contacts/utf8.h"

namespace {

using Records = std::vector<std::vector<std::string>>;

TEST(CsvWriter, QuotesOnlyWhatNeedsIt)
{
    EXPECT_EQ(csvField("plain text; here"), "plain text; here");
    EXPECT_EQ(csvField("a,b"), "\"a,b\"");
    EXPECT_EQ(csvField("say \"hi\""), "\"say \"\"hi\"\"\"");
    EXPECT_EQ(csvField("two\r\nlines"), "\"two\r\nlines\"");

    Contact c;
    c.formattedName = "Jürgen Müller";
    c.phones = {{"0711 1", true, ""}, {"0711 2", false, ""}, {"0711 3", false, ""}};
    c.emails = {"a@example.org", "b@example.org"};
    c.birthday = "--02-14";
    c.note = "Müller, Jürgen\nPhoneNumber: 0711 2";
    std::string out;
    appendCsvHeader(out);
    appendCsvRecord(out, c);
    EXPECT_EQ(out, "Name,Phone,Fax,Email,URL,Birthday,Notes\r\n"
                   "Jürgen Müller,0711 2,0711 1,a@example.org,,'--02-14,\"Müller, Jürgen\r\nPhoneNumber: 0711 2\"\r\n");
}

TEST(CsvReader, RecordsWithQuotesLineBreaksAndOtherSeparators)
{
    EXPECT_EQ(readCsvRecords("a,\"b,\"\"c\"\"\r\nd\",e\r\n\r\n\nf,,\n\"g\"x,h"),
              (Records{{"a", "b,\"c\"\r\nd", "e"}, {"f", "", ""}, {"gx", "h"}}));
    // The header decides: semicolons (German spreadsheets) and tabs.
    EXPECT_EQ(readCsvRecords("Name;Notes\r\nA, B;\"x;y\"\r\n"), (Records{{"Name", "Notes"}, {"A, B", "x;y"}}));
    EXPECT_EQ(readCsvRecords("Name\tPhone\nA\t1,2\n"), (Records{{"Name", "Phone"}, {"A", "1,2"}}));
    EXPECT_EQ(readCsvRecords("a,\"unclosed\nstill"), (Records{{"a", "unclosed\nstill"}}));
}

// Files from elsewhere: UTF-16 either way round with surrogate pairs, a
// lone surrogate, a UTF-8 byte order mark, bytes that are no UTF-8.
TEST(OutsideText, ByteOrderMarksAndWindows1252)
{
    const std::pair<std::string, std::string> cases[] = {
        {std::string("\xFF\xFE\x41\x00\xE4\x00\x3D\xD8\x00\xDE", 10), std::string("\x41\xC3\xA4\xF0\x9F\x98\x80", 7)},
        {std::string("\xFE\xFF\x00\x41\x00\xE4\xD8\x3D\xDE\x00\x41", 11), std::string("\x41\xC3\xA4\xF0\x9F\x98\x80", 7)},
        {std::string("\xFF\xFE\x00\xD8\x41\x00", 6), std::string("\xEF\xBF\xBD\x41", 4)},
        {std::string("\xFF\xFE\xFF\xDB\xFF\xDF", 6), std::string("\xF4\x8F\xBF\xBF", 4)},   // U+10FFFF
        {std::string("\xEF\xBB\xBF\xC3\xA4", 5), std::string("\xC3\xA4", 2)},
        {std::string("\xE4\x80", 2), std::string("\xC3\xA4\xE2\x82\xAC", 5)},
    };
    for (const auto& [bytes, utf8] : cases)
        EXPECT_EQ(decodeOutsideText(bytes), utf8);
    // What an import reports of a character: a control by its number only.
    EXPECT_EQ(describeCharacter(U'\t'), "U+0009");
    EXPECT_EQ(describeCharacter(U'\u00E4'), "U+00E4 \xC3\xA4");
}

TEST(CsvReader, ColumnNamesOfMailPrograms)
{
    struct Case {
        const char* header;
        CsvColumn kind;
        const char* label;
    };
    const Case cases[] = {
        {"Name", CsvColumn::Name, ""},                  {"Display Name", CsvColumn::Name, ""},
        {"First Name", CsvColumn::Given, ""},           {"Given Name", CsvColumn::Given, ""},
        {"Last Name", CsvColumn::Family, ""},           {"Family Name", CsvColumn::Family, ""},
        {"Title", CsvColumn::Prefix, ""},               {"Job Title", CsvColumn::JobTitle, ""},
        {"Company", CsvColumn::Organization, ""},       {"Organization 1 - Name", CsvColumn::Organization, ""},
        {"E-mail Address", CsvColumn::Email, ""},       {"E-mail 2 Address", CsvColumn::Email, ""},
        {"Primary Email", CsvColumn::Email, ""},        {"E-mail Display Name", CsvColumn::Skip, ""},
        {"E-mail 1 - Value", CsvColumn::Email, ""},     {"Phone 1 - Type", CsvColumn::PhoneType, ""},
        {"Mobile Phone", CsvColumn::Phone, "mobile"},   {"Mobile Number", CsvColumn::Phone, "mobile"},
        {"Business Phone", CsvColumn::Phone, "work"},   {"Work Phone", CsvColumn::Phone, "work"},
        {"Home Phone 2", CsvColumn::Phone, "home"},     {"Pager Number", CsvColumn::Phone, "pager"},
        {"Company Main Phone", CsvColumn::Phone, "work"},
        {"Business Fax", CsvColumn::Fax, ""},           {"Fax", CsvColumn::Fax, ""},
        {"Web Page", CsvColumn::Url, ""},               {"Website 1 - Value", CsvColumn::Url, ""},
        {"Birthday", CsvColumn::Birthday, ""},          {"Notes", CsvColumn::Notes, ""},
        {"Home Street", CsvColumn::Address, ""},        {"Home Address 2", CsvColumn::Address, ""},
        {"Address 1 - Formatted", CsvColumn::Skip, ""}, {"Nickname", CsvColumn::Nickname, ""},
        {"Categories", CsvColumn::Skip, ""},            {"Beruf", CsvColumn::JobTitle, ""},
        {"Position", CsvColumn::JobTitle, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.header);
        const CsvColumnMeaning m = classifyCsvColumn(c.header);
        EXPECT_EQ(m.kind, c.kind);
        EXPECT_EQ(m.label, c.label);
    }
    // The parts of one address share a group, whatever the program.
    using Part = CsvColumnMeaning::Part;
    EXPECT_EQ(classifyCsvColumn("Business Street").addressGroup, classifyCsvColumn("Business Postal Code").addressGroup);
    EXPECT_NE(classifyCsvColumn("Business Street").addressGroup, classifyCsvColumn("Home Street").addressGroup);
    EXPECT_EQ(classifyCsvColumn("Home Address").addressGroup, classifyCsvColumn("Home ZipCode").addressGroup);
    EXPECT_EQ(classifyCsvColumn("Address 1 - Street").addressGroup, classifyCsvColumn("Address 1 - City").addressGroup);
    EXPECT_EQ(classifyCsvColumn("Home Address").part, Part::Street);
    EXPECT_EQ(classifyCsvColumn("Home Address 2").part, Part::Extended);
    EXPECT_EQ(classifyCsvColumn("Business Country/Region").part, Part::Country);
    EXPECT_EQ(classifyCsvColumn("Home State").part, Part::Region);
    EXPECT_EQ(classifyCsvColumn("Ort").part, Part::Locality);
    EXPECT_EQ(classifyCsvColumn("Report").kind, CsvColumn::Skip);
}

TEST(CsvReader, OutlookStyleFileGivesContacts)
{
    const std::string file =
        "\xEF\xBB\xBF" "First Name,Last Name,Company,Business Street,Business City,Business Postal Code,"
        "Home Street,Home City,Mobile Phone,Business Fax,E-mail Address,Birthday,Notes,Categories\r\n"
        "Anna,Schmidt,Example AG,Hauptstr. 1,Berlin,10115,Seeweg 2,Kiel,+49 170 1,030 9,a@example.org,"
        "6/30/1970,\"line one\r\nline two\",Friends\r\n"
        ",,,,,,,,,,,0/0/00,,\r\n"                     // nothing in it
        ",,Bäckerei Schulz,,,,,,0711 5,,,,,\r\n";
    std::vector<Contact> contacts;
    std::string why;
    ASSERT_TRUE(readCsvContacts(file, contacts, why)) << why;
    ASSERT_EQ(contacts.size(), 3u);
    const Contact& a = contacts[0];
    EXPECT_EQ(a.given, "Anna");
    EXPECT_EQ(a.family, "Schmidt");
    EXPECT_EQ(a.organization, "Example AG");
    EXPECT_FALSE(a.isOrganization);
    ASSERT_EQ(a.addresses.size(), 2u);
    EXPECT_EQ(a.addresses[0].street, "Hauptstr. 1");
    EXPECT_EQ(a.addresses[0].postalCode, "10115");
    EXPECT_EQ(a.addresses[1].locality, "Kiel");
    ASSERT_EQ(a.phones.size(), 2u);
    EXPECT_EQ(a.phones[0].label, "mobile");
    EXPECT_TRUE(a.phones[1].fax);
    EXPECT_EQ(a.birthday, "1970-06-30");
    EXPECT_EQ(a.note, "line one\r\nline two");
    EXPECT_FALSE(contacts[1].hasStructuredName());
    EXPECT_TRUE(contacts[1].birthdayText.empty());
    EXPECT_TRUE(contacts[2].isOrganization);

    contacts.clear();
    EXPECT_FALSE(readCsvContacts("Foo,Bar\r\n1,2\r\n", contacts, why));
    EXPECT_FALSE(readCsvContacts("", contacts, why));
}

// Values a spreadsheet would take for formulas go out behind an apostrophe
// and come back exactly, and so do values that begin with one themselves.
TEST(CsvWriter, FormulaGuardComesOffAgainExactly)
{
    const std::string values[] = {"=1+1", "+49 711 1", "-x", "@SUM(A1)", "\tx", "\r\nsecond line", "'=x",
                                  "''", "'x", "'", "x=1", "plain", "''=", "'-'"};
    for (const std::string& value : values) {
        SCOPED_TRACE(value);
        const std::string field = csvField(value);
        const size_t start = field[0] == '"' ? 1 : 0;
        EXPECT_FALSE(startsFormula(std::string_view(field).substr(start))) << field;
        std::vector<Contact> contacts;
        std::string why;
        ASSERT_TRUE(readCsvContacts("Notes,Name\r\n" + field + "," + field + "\r\n", contacts, why));
        ASSERT_EQ(contacts.size(), 1u);
        EXPECT_EQ(contacts[0].note, value);
    }
    EXPECT_TRUE(needsFormulaGuard("=x") && needsFormulaGuard("'@") && !needsFormulaGuard("'a") && !needsFormulaGuard(" =x"));
}

// A quote that is never closed would swallow the rest of the file: an
// error naming its line, or, asked for, that reading with a note.
TEST(CsvReader, QuoteNeverClosedIsAnErrorUnlessLenient)
{
    const std::string text = "Name,Phone\r\nAdler,0711 0\r\n\"Smith,0711 1\r\nJones,0711 2\r\nBrown,0711 3\r\n";
    int taken = 0;
    std::string why;
    std::vector<std::string> warnings;
    auto count = [&](Contact&) { ++taken; };
    EXPECT_FALSE(readCsvContacts(text, false, count, why, warnings));
    EXPECT_NE(why.find("line 3 "), std::string::npos) << why;
    EXPECT_TRUE(warnings.empty());
    taken = 0;
    EXPECT_TRUE(readCsvContacts(text, true, count, why, warnings));
    EXPECT_EQ(taken, 2);
    ASSERT_EQ(warnings.size(), 1u);
    EXPECT_NE(warnings[0].find("lines 3 to 5"), std::string::npos) << warnings[0];
    // Quoted line breaks before it count as lines.
    EXPECT_FALSE(readCsvContacts("Name,Notes\nA,\"x\ny\"\nB,\"open", false, count, why, warnings));
    EXPECT_NE(why.find("line 4 "), std::string::npos) << why;
}

}  // namespace
