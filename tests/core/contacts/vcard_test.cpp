// vCards written and read.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "contacts/utf8.h"
#include "contacts/vcard_reader.h"
#include "contacts/vcard_writer.h"

namespace {

std::vector<std::string> physicalLines(const std::string& text)
{
    std::vector<std::string> lines;
    size_t start = 0, end;
    while ((end = text.find("\r\n", start)) != std::string::npos) {
        lines.push_back(text.substr(start, end - start));
        start = end + 2;
    }
    EXPECT_EQ(start, text.size()) << "text after the last CR LF";
    return lines;
}

Contact sampleContact()
{
    Contact c;
    c.formattedName = "Dr. Jürgen Müller";
    c.family = "Müller";
    c.given = "Jürgen";
    c.prefix = "Dr.";
    c.phones = {{"0711 123456", false, ""}, {"0711 123457", true, ""}};
    c.emails = {"j.mueller@example.de"};
    c.urls = {"https://example.org/a,b;c"};
    c.birthday = "1961-02-14";
    c.titles = {"Arzt; Chirurg"};
    c.addresses = {{"", "", "Königstraße 5", "Stuttgart", "", "70173", ""}};
    c.note = "Müller, Dr. Jürgen\nNote: a\\b";
    return c;
}

TEST(VCardWriter, FoldsAt75OctetsWithoutSplittingCharacters)
{
    // Two-byte characters after an odd number of ASCII bytes put a
    // character across every 75-octet boundary.
    std::string value = "x";
    for (int i = 0; i < 200; ++i)
        value += "ä";
    const std::string folded = foldVCardLine("NOTE:" + value);
    std::string unfolded;
    const std::vector<std::string> lines = physicalLines(folded);
    ASSERT_GT(lines.size(), 5u);
    for (size_t i = 0; i < lines.size(); ++i) {
        EXPECT_LE(lines[i].size(), 75u) << "line " << i;
        EXPECT_GE(lines[i].size(), 74u - (i + 1 == lines.size() ? 74 : 0)) << "line " << i << " folded early";
        EXPECT_TRUE(isValidUtf8(lines[i])) << "line " << i;
        if (i > 0) {
            ASSERT_EQ(lines[i][0], ' ');
            unfolded += lines[i].substr(1);
        } else {
            unfolded += lines[i];
        }
    }
    EXPECT_EQ(unfolded, "NOTE:" + value);
    // Exactly 75 octets stay on one line.
    EXPECT_EQ(foldVCardLine(std::string(75, 'a')), std::string(75, 'a') + "\r\n");
    EXPECT_EQ(foldVCardLine(std::string(76, 'a')), std::string(75, 'a') + "\r\n a\r\n");
}

TEST(VCardWriter, EscapesTextValues)
{
    EXPECT_EQ(escapeVCardText("a,b;c\\d\ne\r\nf"), "a\\,b\\;c\\\\d\\ne\\nf");
}

TEST(VCardWriter, WholeCardsInBothVersions)
{
    std::string v3, v4;
    appendVCard(v3, sampleContact(), VCardVersion::V3);
    appendVCard(v4, sampleContact(), VCardVersion::V4);
    EXPECT_EQ(v3,
              "BEGIN:VCARD\r\n"
              "VERSION:3.0\r\n"
              "PRODID:-//ORDANE-Lumo//lumo export//EN\r\n"
              "FN:Dr. Jürgen Müller\r\n"
              "N:Müller;Jürgen;;Dr.;\r\n"
              "TEL;TYPE=voice:0711 123456\r\n"
              "TEL;TYPE=fax:0711 123457\r\n"
              "EMAIL;TYPE=internet:j.mueller@example.de\r\n"
              "URL:https://example.org/a,b;c\r\n"
              "BDAY:1961-02-14\r\n"
              "TITLE:Arzt\\; Chirurg\r\n"
              "ADR:;;Königstraße 5;Stuttgart;;70173;\r\n"
              "NOTE:Müller\\, Dr. Jürgen\\nNote: a\\\\b\r\n"
              "END:VCARD\r\n");
    EXPECT_NE(v4.find("VERSION:4.0\r\n"), std::string::npos);
    EXPECT_NE(v4.find("BDAY:19610214\r\n"), std::string::npos);
    EXPECT_NE(v4.find("EMAIL:j.mueller@example.de\r\n"), std::string::npos);
    EXPECT_EQ(v4.find("KIND"), std::string::npos);

    Contact firm;
    firm.formattedName = firm.organization = "Praxis Dr. Hahn";
    firm.isOrganization = true;
    firm.birthday = "--02-14";
    std::string card3, card4;
    appendVCard(card3, firm, VCardVersion::V3);
    appendVCard(card4, firm, VCardVersion::V4);
    EXPECT_NE(card3.find("N:;;;;\r\nORG:Praxis Dr. Hahn\r\n"), std::string::npos);
    EXPECT_EQ(card3.find("BDAY"), std::string::npos) << "3.0 has no date without a year";
    EXPECT_NE(card4.find("KIND:org\r\n"), std::string::npos);
    EXPECT_NE(card4.find("BDAY:--0214\r\n"), std::string::npos);
}

TEST(VCardReader, Version21WithQuotedPrintableCharsetsAndBareTypes)
{
    const std::string card =
        "BEGIN:VCARD\r\n"
        "VERSION:2.1\r\n"
        "N;CHARSET=ISO-8859-1:M\xFCller;J\xFCrgen\r\n"
        "FN;ENCODING=QUOTED-PRINTABLE;CHARSET=UTF-8:J=C3=BCrgen M=C3=BC=\r\n"
        "ller\r\n"
        "TEL;CELL;VOICE:+49 170 1234567\r\n"
        "TEL;WORK;FAX:0711 99\r\n"
        "NOTE;QUOTED-PRINTABLE:first line=0D=0Asecond; line\\n=\r\n"
        " stays\r\n"
        "ADR;HOME:;;Tal 5\\; Hinterhaus;Stuttgart;;70173;Germany\r\n"
        "PHOTO;ENCODING=BASE64;TYPE=JPEG:\r\n"
        " /9j/4AAQSkZJRgABAQ\r\n"
        "AAAQABAAD\r\n"
        "\r\n"
        "EMAIL;INTERNET:j@example.de\r\n"
        "LABEL;ENCODING=QUOTED-PRINTABLE:Tal 5=0D=0A70173\r\n"
        "END:VCARD\r\n";
    const std::vector<Contact> read = readVCards(card);
    ASSERT_EQ(read.size(), 1u);
    const Contact& c = read[0];
    EXPECT_EQ(c.family, "Müller");
    EXPECT_EQ(c.given, "Jürgen");
    EXPECT_EQ(c.formattedName, "Jürgen Müller");
    ASSERT_EQ(c.phones.size(), 2u);
    EXPECT_EQ(c.phones[0].label, "mobile");
    EXPECT_FALSE(c.phones[0].fax);
    EXPECT_TRUE(c.phones[1].fax);
    // 2.1 escapes only the semicolon, and its folding keeps the blank.
    EXPECT_EQ(c.note, "first line\r\nsecond; line\\n stays");
    ASSERT_EQ(c.addresses.size(), 1u);
    EXPECT_EQ(c.addresses[0].street, "Tal 5; Hinterhaus");
    EXPECT_EQ(c.addresses[0].country, "Germany");
    EXPECT_EQ(c.emails, std::vector<std::string>{"j@example.de"});
}

TEST(VCardReader, Version3And4Details)
{
    const std::string text =
        "\xEF\xBB\xBFjunk before the card\n"
        "begin:vcard\n"
        "version:3.0\n"
        "item1.EMAIL;TYPE=INTERNET,pref:a@example.org\n"
        "item1.X-ABLabel:_$!<Other>!$_\n"
        "N:Stevenson;John;Philip,Paul;Dr.;Jr.,M.D.\n"
        "FN:Dr. John\n"
        "\tPhilip Stevenson\n"
        "TEL;TYPE=work;TYPE=voice:+1 555 0100\n"
        "ADR;TYPE=work:PO Box 12;Suite 3;1 Main St;Springfield;;12345;USA\n"
        "ORG:ABC\\, Inc.;North American Division;Marketing\n"
        "AGENT:BEGIN:VCARD\n"
        "BDAY:1985-04-12T10:00:00Z\n"
        "NOTE:semi\\;colon\\, comma\\N next \\\\ back\n"
        "END:VCARD\n"
        "BEGIN:VCARD\r\n"
        "VERSION:4.0\r\n"
        "KIND:org\r\n"
        "FN:Example Ltd\r\n"
        "TEL;VALUE=uri;TYPE=\"cell,voice\":tel:+1-555-555-5555\r\n"
        "EMAIL:mailto:info@example.com\r\n"
        "BDAY:--0412\r\n"
        "N;CHARSET=SHIFT_JIS:\x93\xFA\x96\x7B\r\n";   // no END: the file simply stops
    const std::vector<Contact> read = readVCards(text);
    ASSERT_EQ(read.size(), 2u);
    const Contact& a = read[0];
    EXPECT_EQ(a.emails, std::vector<std::string>{"a@example.org"});
    EXPECT_EQ(a.family, "Stevenson");
    EXPECT_EQ(a.additional, "Philip Paul");
    EXPECT_EQ(a.suffix, "Jr. M.D.");
    EXPECT_EQ(a.formattedName, "Dr. JohnPhilip Stevenson");   // 3.0 unfolding drops the tab
    ASSERT_EQ(a.phones.size(), 1u);
    EXPECT_EQ(a.phones[0].label, "work");
    EXPECT_EQ(a.organization, "ABC, Inc., North American Division, Marketing");
    ASSERT_EQ(a.addresses.size(), 1u);
    EXPECT_EQ(a.addresses[0].poBox + "|" + a.addresses[0].extended, "PO Box 12|Suite 3");
    EXPECT_EQ(a.birthday, "1985-04-12");
    EXPECT_EQ(a.note, "semi;colon, comma\n next \\ back");
    const Contact& b = read[1];
    EXPECT_TRUE(b.isOrganization);
    ASSERT_EQ(b.phones.size(), 1u);
    EXPECT_EQ(b.phones[0].number, "+1-555-555-5555");
    EXPECT_EQ(b.phones[0].label, "mobile");
    EXPECT_EQ(b.emails, std::vector<std::string>{"info@example.com"});
    EXPECT_EQ(b.birthday, "--04-12");
    // A character set the reader does not know: its bytes are not guessed at.
    EXPECT_EQ(b.family, "\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD{");
}

TEST(VCardReader, EightBitTextWithoutCharsetIsWindows1252)
{
    const std::vector<Contact> read = readVCards("BEGIN:VCARD\nVERSION:3.0\nFN:M\xFCller \x80\nEND:VCARD\n");
    ASSERT_EQ(read.size(), 1u);
    EXPECT_EQ(read[0].formattedName, "Müller €");
    EXPECT_TRUE(looksLikeVCard("\r\n  BEGIN:VCARD\r\n"));
    EXPECT_FALSE(looksLikeVCard("Name,Phone\r\nBEGIN:VCARD"));
}

}  // namespace
