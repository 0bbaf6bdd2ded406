#include "contacts/entry_from_contact.h"

#include <algorithm>
#include <iterator>

#include "contacts/contact_from_entry.h"
#include "contacts/name_reading.h"

namespace {

std::string joinedWords(std::initializer_list<const std::string*> parts)
{
    std::string out;
    for (const std::string* part : parts) {
        if (part->empty())
            continue;
        if (!out.empty())
            out += ' ';
        out += *part;
    }
    return out;
}

std::vector<std::string> splitLines(std::string&& text)
{
    std::vector<std::string> lines;
    // A note of one line is moved, not copied: it may be most of a file.
    if (text.find_first_of("\r\n") == std::string::npos) {
        if (!text.empty())
            lines.push_back(std::move(text));
        return lines;
    }
    size_t start = 0;
    while (start <= text.size()) {
        size_t end = text.find_first_of("\r\n", start);
        if (end == std::string::npos)
            end = text.size();
        lines.push_back(text.substr(start, end - start));
        if (end < text.size() && text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n')
            ++end;
        start = end + 1;
    }
    // A note that ends with a line break has no empty last line.
    while (!lines.empty() && lines.back().empty())
        lines.pop_back();
    return lines;
}

// The heading line matches the contact's name when export would read the
// same name from it.
bool namesContact(const NameReading& reading, const Contact& contact)
{
    // The formatted name is compared where it stands: it may be long.
    if (contact.formattedName.empty() ? reading.formattedName != displayName(contact)
                                      : reading.formattedName != contact.formattedName)
        return false;
    if (!contact.hasStructuredName())
        return true;
    return reading.person && reading.family == contact.family && reading.given == contact.given &&
           reading.prefix == contact.prefix && contact.additional.empty() && contact.suffix.empty();
}

// Uses up the formatted name, which nothing needs after the heading.
std::string builtHeading(Contact& contact)
{
    std::string heading;
    if (contact.hasStructuredName() && !contact.family.empty()) {
        heading = contact.family;
        const std::string first = joinedWords({&contact.prefix, &contact.given, &contact.additional, &contact.suffix});
        if (!first.empty())
            heading += ", " + first;
    } else if (!contact.formattedName.empty()) {
        heading = std::move(contact.formattedName);
    } else {
        heading = displayName(contact);
    }
    // A card without a name still needs a heading to be seen in the list.
    if (heading.empty())
        heading = contact.nickname;
    if (heading.empty() && !contact.emails.empty())
        heading = contact.emails[0];
    for (const Contact::Phone& phone : contact.phones) {
        if (!phone.fax) {
            heading += heading.empty() ? phone.number : ", " + phone.number;
            break;
        }
    }
    if (heading.empty() && !contact.phones.empty())
        heading = contact.phones[0].number;
    return heading;
}

std::string lowerAscii(std::string text)
{
    for (char& c : text)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c + 32);
    return text;
}

// A mail address without the "mailto:" that some write in front of it.
std::string mailAddress(const std::string& text)
{
    std::string address = lowerAscii(text);
    if (address.starts_with("mailto:"))
        address.erase(0, 7);
    return address;
}

std::string dottedBirthday(const std::string& iso)
{
    // "YYYY-MM-DD" or "--MM-DD"
    if (iso.starts_with("--"))
        return iso.substr(5, 2) + "." + iso.substr(2, 2) + ".";
    return iso.substr(8, 2) + "." + iso.substr(5, 2) + "." + iso.substr(0, 4);
}

std::vector<std::string> addressLines(const Contact::Address& address)
{
    std::vector<std::string> lines;
    for (const std::string* part : {&address.poBox, &address.extended, &address.street})
        if (!part->empty())
            lines.push_back(*part);
    std::string place = joinedWords({&address.postalCode, &address.locality});
    if (!address.region.empty())
        place += place.empty() ? address.region : ", " + address.region;
    if (!place.empty())
        lines.push_back(place);
    if (!address.country.empty())
        lines.push_back(address.country);
    return lines;
}

std::string addressInOneLine(const Contact::Address& address)
{
    std::string out;
    for (const std::string& line : addressLines(address))
        out += (out.empty() ? "" : ", ") + line;
    return out;
}

bool sameAddress(const Contact::Address& a, const Contact::Address& b)
{
    return a.street == b.street && a.postalCode == b.postalCode && a.locality == b.locality;
}

}  // namespace

std::string displayName(const Contact& contact)
{
    if (!contact.formattedName.empty())
        return contact.formattedName;
    if (contact.hasStructuredName())
        return joinedWords({&contact.prefix, &contact.given, &contact.additional, &contact.family, &contact.suffix});
    return contact.organization;
}

std::vector<std::string> entryFromContact(const Contact& contact)
{
    Contact copy = contact;
    return entryFromContact(std::move(copy));
}

std::vector<std::string> entryFromContact(Contact&& contact)
{
    std::vector<std::string> note = splitLines(std::move(contact.note));
    std::string().swap(contact.note);
    std::vector<std::string> lines;
    NameReading reading;
    if (!note.empty())
        reading = readHeading(note[0]);
    if (!note.empty() && namesContact(reading, contact)) {
        lines = std::move(note);
    } else {
        std::string heading = builtHeading(contact);
        if (heading.find_first_not_of(" \t") == std::string::npos)
            return {};
        reading = readHeading(heading);
        lines.reserve(note.size() + 1);
        lines.push_back(std::move(heading));
        std::move(note.begin(), note.end(), std::back_inserter(lines));
    }
    // What the heading and the note already say, read as export reads it.
    const Contact held = readEntry(lines, reading);
    reading = NameReading();

    std::vector<std::string> added;
    auto holdsPhone = [&](const Contact::Phone& phone) {
        const std::string digits = phoneDigits(phone.number);
        return std::any_of(held.phones.begin(), held.phones.end(), [&](const Contact::Phone& other) {
            return other.fax == phone.fax && phoneDigits(other.number) == digits;
        });
    };
    auto holdsText = [](const std::vector<std::string>& list, const std::string& value, bool noCase) {
        return std::any_of(list.begin(), list.end(), [&](const std::string& other) {
            return noCase ? lowerAscii(other) == lowerAscii(value) : other == value;
        });
    };

    std::vector<const Contact::Address*> addresses;
    for (const Contact::Address& address : contact.addresses) {
        const bool said = std::any_of(held.addresses.begin(), held.addresses.end(),
                                      [&](const Contact::Address& other) { return sameAddress(address, other); });
        if (!said && !addressLines(address).empty())
            addresses.push_back(&address);
    }
    if (!addresses.empty())
        for (const std::string& line : addressLines(*addresses[0]))
            added.push_back(line);
    for (const Contact::Phone& phone : contact.phones) {
        if (phone.number.empty() || holdsPhone(phone))
            continue;
        if (phone.fax)
            added.push_back("FaxNumber: " + phone.number);
        else
            added.push_back("PhoneNumber: " + phone.number + (phone.label.empty() ? "" : " (" + phone.label + ")"));
    }
    for (const std::string& email : contact.emails) {
        const bool said = std::any_of(held.emails.begin(), held.emails.end(),
                                      [&](const std::string& other) { return mailAddress(other) == mailAddress(email); });
        if (!email.empty() && !said)
            added.push_back("eMail: " + email);
    }
    for (const std::string& url : contact.urls) {
        if (url.empty() || holdsText(held.urls, url, false))
            continue;
        added.push_back(url.find('"') == std::string::npos ? "\"" + url + "\"" : url);
    }
    if (!contact.birthday.empty() && contact.birthday != held.birthday)
        added.push_back("Birthday: " + dottedBirthday(contact.birthday));
    else if (contact.birthday.empty() && !contact.birthdayText.empty())
        added.push_back("Birthday: " + contact.birthdayText);
    for (const std::string& title : contact.titles)
        if (!title.empty() && !holdsText(held.titles, title, false))
            added.push_back("Profession: " + title);
    if (!contact.organization.empty() && !contact.isOrganization) {
        const bool said = std::any_of(lines.begin(), lines.end(), [&](const std::string& line) {
            return line.find(contact.organization) != std::string::npos;
        });
        if (!said)
            added.push_back("Info: " + contact.organization);
    }
    for (size_t i = 1; i < addresses.size(); ++i)
        added.push_back("Address: " + addressInOneLine(*addresses[i]));

    lines.insert(lines.begin() + 1, added.begin(), added.end());
    for (std::string& line : lines)
        if (line.empty())
            line = " ";
    return lines;
}
