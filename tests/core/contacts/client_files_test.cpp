// Contacts as common clients write them, made here from the formats'
// published descriptions: each comes in with a visible heading and every
// name, number and mail address it carries.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "contacts/book_exchange.h"

namespace {

// UTF-8 text as UTF-16 in either byte order, with or without a byte order mark.
std::string utf16(const std::string& utf8, bool bigEndian, bool mark)
{
    std::u16string units;
    for (size_t i = 0; i < utf8.size();) {
        const unsigned char c = static_cast<unsigned char>(utf8[i]);
        const int more = c < 0x80 ? 0 : c < 0xE0 ? 1 : 2;   // no characters beyond U+FFFF here
        char16_t unit = more == 0 ? c : more == 1 ? c & 0x1F : c & 0x0F;
        for (int k = 1; k <= more; ++k)
            unit = static_cast<char16_t>(unit << 6 | (utf8[i + k] & 0x3F));
        units += unit;
        i += 1 + more;
    }
    std::string out = mark ? (bigEndian ? "\xFE\xFF" : "\xFF\xFE") : "";
    for (char16_t u : units) {
        const char high = static_cast<char>(u >> 8), low = static_cast<char>(u & 0xFF);
        out += bigEndian ? std::string{high, low} : std::string{low, high};
    }
    return out;
}

struct ClientFile {
    const char* client;
    std::string bytes;
    std::vector<std::string> headings;   // Windows-1252, in the order of the file
    std::vector<std::string> lines;      // each in some entry of the book
};

TEST(ClientFiles, EveryContactComesInWithAHeadingAndItsNumbersAndAddresses)
{
    const std::string utf16Card = "BEGIN:VCARD\r\nVERSION:3.0\r\nN:Čapek;Zoë;;;\r\nFN:Zoë Čapek\r\n"
                                  "TEL;TYPE=CELL:+420 777 123 456\r\nEMAIL:zoe@example.cz\r\nEND:VCARD\r\n";
    const ClientFile files[] = {
        {"Android",
         "BEGIN:VCARD\r\nVERSION:2.1\r\nN;CHARSET=UTF-8;ENCODING=QUOTED-PRINTABLE:=C5=9Eahin;Ay=C5=9Fe;;;\r\n"
         "FN;CHARSET=UTF-8;ENCODING=QUOTED-PRINTABLE:Ay=C5=9Fe =C5=9Eahin\r\nTEL;CELL:+90 532 123 4567\r\n"
         "TEL;HOME:0212 555 0101\r\nEMAIL;HOME:ayse@example.com.tr\r\nEND:VCARD\r\n",
         {"Sahin, Ayse, +90 532 123 4567"},
         {"PhoneNumber: 0212 555 0101 (home)", "eMail: ayse@example.com.tr"}},
        {"iPhone",
         "BEGIN:VCARD\nVERSION:3.0\nPRODID:-//Apple Inc.//iPhone OS 17.0//EN\nN:Nowak;Łukasz;;;\nFN:Łukasz Nowak\n"
         "ORG:Nowak Sp. z o.o.;\nitem1.EMAIL;type=INTERNET;type=pref:lukasz@example.pl\n"
         "item1.X-ABLabel:_$!<Other>!$_\nTEL;type=CELL;type=VOICE;type=pref:+48 601 234 567\n"
         "TEL;type=IPHONE;type=CELL;type=VOICE:+48 602 345 678\n"
         "item2.ADR;type=HOME;type=pref:;;ul. Długa 5;Gdańsk;;80-827;Polska\n"
         "PHOTO;ENCODING=b;TYPE=JPEG:/9j/4AAQSkZJRgABAQAAAQABAAD\n BAQEBAQ==\nBDAY:1985-03-04\nEND:VCARD\n",
         {"Nowak, Lukasz, +48 601 234 567"},
         {"PhoneNumber: +48 602 345 678 (mobile)", "eMail: lukasz@example.pl", "Birthday: 04.03.1985",
          "Info: Nowak Sp. z o.o."}},
        {"Outlook vCard",
         "BEGIN:VCARD\r\nVERSION:2.1\r\nN;LANGUAGE=de:Wagner;Petra\r\nFN:Petra Wagner\r\nORG:Muster GmbH;Einkauf\r\n"
         "TITLE:Leiterin Einkauf\r\nTEL;WORK;VOICE:+49 89 1234-0\r\nTEL;WORK;FAX:+49 89 1234-99\r\n"
         "ADR;WORK;PREF:;;Sendlinger Str. 1;M\xFCnchen;;80331;Deutschland\r\n"
         "LABEL;WORK;PREF;ENCODING=QUOTED-PRINTABLE:Sendlinger Str. 1=0D=0A80331 M=FCnchen\r\n"
         "EMAIL;PREF;INTERNET:petra.wagner@example.de\r\nREV:20240101T120000Z\r\nEND:VCARD\r\n",
         {"Wagner, Petra, +49 89 1234-0"},
         {"FaxNumber: +49 89 1234-99", "eMail: petra.wagner@example.de", "80331 M\xFCnchen"}},
        {"Gmail CSV",
         "Name,Given Name,Family Name,Nickname,Birthday,E-mail 1 - Type,E-mail 1 - Value,Phone 1 - Type,"
         "Phone 1 - Value,Phone 2 - Type,Phone 2 - Value,Organization 1 - Name\r\n"
         "Jan de Vries,Jan,de Vries,,1970-01-31,* Home,jan@example.nl ::: jdv@example.nl,Mobile,"
         "+31 6 1234 5678,Home Fax,+31 20 555 0101,\r\n"
         ",,,Kiki,,,,,,,,\r\n",
         {"de Vries, Jan, +31 6 1234 5678", "Kiki"},
         {"FaxNumber: +31 20 555 0101", "eMail: jan@example.nl", "eMail: jdv@example.nl", "Birthday: 31.01.1970"}},
        {"Thunderbird CSV",
         "First Name,Last Name,Display Name,Nickname,Primary Email,Secondary Email,Screen Name,Work Phone,"
         "Home Phone,Fax Number,Pager Number,Mobile Number,Home Address,Home Address 2,Home City,Home State,"
         "Home ZipCode,Home Country,Job Title,Department,Organization,Web Page 1,Birth Year,Birth Month,"
         "Birth Day,Notes\r\n"
         "Ole,Hansen,Ole Hansen,,ole@example.dk,,,,+45 33 12 34 56,,,,Strøget 1,,København,,1160,Danmark,,,,,"
         "1975,6,9,\r\n",
         {"Hansen, Ole, +45 33 12 34 56"},
         {"eMail: ole@example.dk", "Birthday: 09.06.1975", "1160 K\xF8" "benhavn"}},
        {"UTF-16 LE vCard without byte order mark", utf16(utf16Card, false, false),
         {"Capek, Zo\xEB, +420 777 123 456"}, {"eMail: zoe@example.cz"}},
        {"UTF-16 BE vCard with byte order mark", utf16(utf16Card, true, true),
         {"Capek, Zo\xEB, +420 777 123 456"}, {"eMail: zoe@example.cz"}},
        {"UTF-16 LE CSV", utf16("Name,E-mail Address\r\nMiloš Forman,milos@example.cz\r\n", false, true),
         {"Milos Forman"}, {"eMail: milos@example.cz"}},
        {"only a mail address, only a firm, only a number",
         "BEGIN:VCARD\r\nVERSION:3.0\r\nEMAIL:info@example.org\r\nEND:VCARD\r\n"
         "BEGIN:VCARD\r\nVERSION:4.0\r\nORG:B\xC3\xA4" "ckerei Sommer\r\nTEL:0711 123456\r\nEND:VCARD\r\n"
         "BEGIN:VCARD\r\nVERSION:3.0\r\nTEL;TYPE=FAX:0711 99\r\nEND:VCARD\r\n",
         {"info@example.org", "B\xE4" "ckerei Sommer, 0711 123456", "0711 99"},
         {"eMail: info@example.org", "FaxNumber: 0711 99"}},
    };
    for (const ClientFile& file : files) {
        SCOPED_TRACE(file.client);
        ImportedBook book;
        std::string why;
        ASSERT_TRUE(importContacts(file.bytes, ImportFormat::Guess, book, why)) << why;
        EXPECT_EQ(book.replaced.count, 0);
        std::vector<std::string> headings;
        for (size_t start = 0; start < book.text.size();) {
            const size_t end = book.text.find("\r\n\r\n", start);
            headings.push_back(book.text.substr(start, book.text.find("\r\n", start) - start));
            start = end + 4;
        }
        EXPECT_EQ(headings, file.headings);
        for (const std::string& line : file.lines)
            EXPECT_NE(book.text.find("\r\n" + line + "\r\n"), std::string::npos) << line;
    }
}

TEST(ClientFiles, ContactWithNothingToHeadItIsSkippedAndCounted)
{
    ImportedBook book;
    std::string why;
    ASSERT_TRUE(importContacts("BEGIN:VCARD\r\nVERSION:3.0\r\nADR:;;Tal 5;Ulm;;89073;\r\nEND:VCARD\r\n"
                               "BEGIN:VCARD\r\nVERSION:3.0\r\nNICKNAME:Mo,Momo\r\nEND:VCARD\r\n",
                               ImportFormat::Guess, book, why));
    EXPECT_EQ(book.text, "Mo\r\n\r\n");
    EXPECT_EQ(book.skipped, 1);
    EXPECT_FALSE(importContacts("BEGIN:VCARD\r\nEND:VCARD\r\n", ImportFormat::Guess, book, why));
    EXPECT_EQ(book.skipped, 2);
    EXPECT_EQ(book.entries, 1);
}

}  // namespace
