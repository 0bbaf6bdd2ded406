#include "sync/sync_card.h"

#include <vector>

#include "contacts/hex_escapes.h"
#include "contacts/entry_lines.h"
#include "contacts/contact_from_entry.h"
#include "contacts/entry_from_contact.h"
#include "contacts/exchange_text.h"
#include "contacts/name_reading.h"
#include "contacts/trimmed.h"
#include "contacts/vcard_reader.h"
#include "contacts/vcard_writer.h"
#include "sync/sync_state.h"

namespace {

constexpr std::string_view entryProperty = "X-LUMO-ENTRY";
constexpr std::string_view fingerprintProperty = "X-LUMO-FP";

// Which lines of an entry a property of the card carries: the heading, the
// postal address, and the pre-definition lines export reads as properties.
// The others go into NOTE.
std::vector<bool> carriedLines(const std::vector<std::string>& lines, const Contact& contact)
{
    std::vector<bool> carried(lines.size(), false);
    carried[0] = true;
    if (!contact.addresses.empty()) {
        carried[1] = carried[2] = true;
        if (!contact.addresses[0].country.empty())
            carried[3] = true;
    }
    bool birthdayTaken = false;
    for (size_t i = 1; i < lines.size(); ++i) {
        const std::string& line = lines[i];
        for (std::string_view word : {"PhoneNumber:", "FaxNumber:", "eMail:", "Profession:"})
            if (startsWithNoCase(line, word) && !trimmed(std::string_view(line).substr(word.size())).empty())
                carried[i] = true;
        if (!birthdayTaken && startsWithNoCase(line, "Birthday:") &&
            !birthdayFromText(line.substr(sizeof "Birthday:" - 1)).empty())
            carried[i] = birthdayTaken = true;
        if (!webAddressOfLine(line).empty())
            carried[i] = true;
    }
    return carried;
}

// What a reader of the card sees, as one text: equal for two cards that
// say the same, however they are folded, ordered or escaped.
std::string fingerprint(const Contact& c)
{
    std::string text;
    auto add = [&](const std::string& value) { text += value + '\x1f'; };
    for (const std::string* s : {&c.formattedName, &c.family, &c.given, &c.additional, &c.prefix, &c.suffix,
                                 &c.organization, &c.birthday, &c.birthdayText, &c.note})
        add(*s);
    add(c.isOrganization ? "org" : "person");
    for (const Contact::Phone& p : c.phones)
        add("tel " + p.number + (p.fax ? " fax " : " ") + p.label);
    for (const std::string& e : c.emails)
        add("email " + e);
    for (const std::string& u : c.urls)
        add("url " + u);
    for (const std::string& t : c.titles)
        add("title " + t);
    for (const Contact::Address& a : c.addresses)
        add("adr " + a.poBox + ';' + a.extended + ';' + a.street + ';' + a.locality + ';' + a.region + ';' +
            a.postalCode + ';' + a.country);
    char hex[17];
    std::snprintf(hex, sizeof hex, "%016llx", static_cast<unsigned long long>(textHash(text)));
    return hex;
}

// The entry's bytes as a value no client needs to escape or trim: %XX for
// every byte outside printable ASCII, for the characters vCard escapes, and
// for a blank at either end.
std::string percentEncoded(std::string_view bytes)
{
    static const char digits[] = "0123456789ABCDEF";
    std::string out;
    for (size_t i = 0; i < bytes.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(bytes[i]);
        const bool edgeBlank = c == ' ' && (i == 0 || i + 1 == bytes.size());
        if (c < 0x20 || c > 0x7E || c == '%' || c == ',' || c == ';' || c == '\\' || edgeBlank) {
            out += '%';
            out += digits[c >> 4];
            out += digits[c & 15];
        } else {
            out += static_cast<char>(c);
        }
    }
    return out;
}


// The raw value of the first property called name (a group before it
// allowed), the card unfolded; false when there is none.
bool rawProperty(std::string_view card, std::string_view name, std::string& value)
{
    std::string unfolded;
    unfolded.reserve(card.size());
    for (size_t i = 0; i < card.size(); ++i) {
        if ((card[i] == '\r' || card[i] == '\n')) {
            size_t next = i + 1;
            if (card[i] == '\r' && next < card.size() && card[next] == '\n')
                ++next;
            if (next < card.size() && (card[next] == ' ' || card[next] == '\t')) {
                i = next;
                continue;
            }
            unfolded += '\n';
            i = next - 1;
            continue;
        }
        unfolded += card[i];
    }
    size_t start = 0;
    while (start < unfolded.size()) {
        size_t end = unfolded.find('\n', start);
        if (end == std::string::npos)
            end = unfolded.size();
        std::string_view line = std::string_view(unfolded).substr(start, end - start);
        start = end + 1;
        const size_t colon = line.find(':');
        if (colon == std::string_view::npos)
            continue;
        std::string_view head = line.substr(0, line.find_first_of(";:"));
        if (const size_t dot = head.rfind('.'); dot != std::string_view::npos)
            head.remove_prefix(dot + 1);
        if (head.size() == name.size() && startsWithNoCase(head, name)) {
            value = line.substr(colon + 1);
            return true;
        }
    }
    return false;
}

std::string joinedLines(const std::vector<std::string>& lines, const char* separator)
{
    std::string out;
    for (size_t i = 0; i < lines.size(); ++i) {
        if (i)
            out += separator;
        out += lines[i];
    }
    return out;
}

}  // namespace

std::string cardUid(std::string_view card)
{
    std::string uid;
    return rawProperty(card, "UID", uid) ? trimmed(uid) : std::string();
}

std::string_view headingOf(std::string_view entry)
{
    return entry.substr(0, entry.find("\r\n"));
}

std::string cardFromEntry(std::string_view entry, const std::string& uid)
{
    std::vector<std::string> lines = linesOfEntry(entry);
    for (std::string& line : lines)
        line = exchangeTextFrom1252(line);
    Contact contact = contactFromEntry(lines);
    const std::vector<bool> carried = carriedLines(lines, contact);
    std::vector<std::string> note;
    for (size_t i = 0; i < lines.size(); ++i)
        if (!carried[i])
            note.push_back(lines[i]);
    contact.note = joinedLines(note, "\n");

    std::string card;
    appendVCard(card, contact, VCardVersion::V3);
    const std::vector<Contact> readBack = readVCards(card);
    const std::string print = fingerprint(readBack.empty() ? Contact() : readBack[0]);
    constexpr std::string_view end = "END:VCARD\r\n";
    card.resize(card.size() - end.size());
    card += foldVCardLine("UID:" + uid);
    card += foldVCardLine(std::string(entryProperty) + ":" + percentEncoded(entry));
    card += foldVCardLine(std::string(fingerprintProperty) + ":" + print);
    card += end;
    return card;
}

std::string entryFromCard(std::string_view card)
{
    const std::vector<Contact> contacts = readVCards(card);
    Contact contact = contacts.empty() ? Contact() : contacts[0];
    std::string written, print;
    const bool ours = rawProperty(card, entryProperty, written);
    if (ours && rawProperty(card, fingerprintProperty, print) && trimmed(print) == fingerprint(contact))
        return decodeHexEscapes(trimmed(written), '%');

    // Changed by another client: the entry made anew.  The old heading stays
    // when it still names the contact and its number is still there, so
    // that a new number on a phone does not rename the entry.
    if (ours) {
        const std::string heading = exchangeTextFrom1252(headingOf(decodeHexEscapes(trimmed(written), '%')));
        const NameReading reading = readHeading(heading);
        const std::string phone = phoneDigits(reading.phone);
        bool numberKept = phone.empty();
        for (const Contact::Phone& p : contact.phones)
            numberKept = numberKept || (!p.fax && phoneDigits(p.number) == phone);
        const bool sameName = reading.formattedName == displayName(contact) &&
                              (!contact.hasStructuredName() ||
                               (reading.person && reading.family == contact.family && reading.given == contact.given &&
                                reading.prefix == contact.prefix && contact.additional.empty() &&
                                contact.suffix.empty()));
        if (numberKept && sameName)
            contact.note = contact.note.empty() ? heading : heading + "\n" + contact.note;
    }
    ReplacementLog replaced;
    std::vector<std::string> lines = entryFromContact(contact);
    for (std::string& line : lines)
        line = lineFromExchangeText(line, replaced);
    return joinedLines(lines, "\r\n");
}
