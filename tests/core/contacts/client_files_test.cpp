// Contacts as common clients write them (samples/contacts, made from the
// formats' published descriptions): each comes in with a visible heading
// and every name, number and mail address it carries.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "contacts/book_exchange.h"

namespace {

std::string sampleFile(const char* name)
{
    std::ifstream in(std::string(LUMO_SAMPLES_DIR) + "/contacts/" + name, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

struct ClientFile {
    const char* name;                    // in samples/contacts
    std::vector<std::string> headings;   // Windows-1252, in the order of the file
    std::vector<std::string> lines;      // each in some entry of the book
};

// Files as Android, iPhone, Outlook, Gmail and Thunderbird write them, in
// UTF-16 of either byte order, and contacts without a name.
TEST(ClientFiles, EveryContactComesInWithAHeadingAndItsNumbersAndAddresses)
{
    const ClientFile files[] = {
        {"android.vcf", {"Sahin, Ayse, +90 532 123 4567"},
         {"PhoneNumber: 0212 555 0101 (home)", "eMail: ayse@example.com.tr"}},
        {"iphone.vcf", {"Nowak, Lukasz, +48 601 234 567"},
         {"PhoneNumber: +48 602 345 678 (mobile)", "eMail: lukasz@example.pl", "Birthday: 04.03.1985",
          "Info: Nowak Sp. z o.o."}},
        {"outlook.vcf", {"Wagner, Petra, +49 89 1234-0"},
         {"FaxNumber: +49 89 1234-99", "eMail: petra.wagner@example.de", "80331 M\xFCnchen"}},
        {"gmail.csv", {"de Vries, Jan, +31 6 1234 5678", "Kiki"},
         {"FaxNumber: +31 20 555 0101", "eMail: jan@example.nl", "eMail: jdv@example.nl", "Birthday: 31.01.1970"}},
        {"thunderbird.csv", {"Hansen, Ole, +45 33 12 34 56"},
         {"eMail: ole@example.dk", "Birthday: 09.06.1975", "1160 K\xF8" "benhavn"}},
        {"utf16le-no-mark.vcf", {"Capek, Zo\xEB, +420 777 123 456"}, {"eMail: zoe@example.cz"}},
        {"utf16be.vcf", {"Capek, Zo\xEB, +420 777 123 456"}, {"eMail: zoe@example.cz"}},
        {"utf16le.csv", {"Milos Forman"}, {"eMail: milos@example.cz"}},
        {"nameless.vcf", {"info@example.org", "B\xE4" "ckerei Sommer, 0711 123456", "0711 99"},
         {"eMail: info@example.org", "FaxNumber: 0711 99"}},
    };
    for (const ClientFile& file : files) {
        SCOPED_TRACE(file.name);
        ImportedBook book;
        std::string why;
        ASSERT_TRUE(importContacts(sampleFile(file.name), ImportFormat::Guess, book, why)) << why;
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
