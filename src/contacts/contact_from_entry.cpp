#include "contacts/entry_lines.h"
#include "contacts/contact_from_entry.h"

#include <string_view>

#include "contacts/name_reading.h"
#include "contacts/trimmed.h"

namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// The value behind a pre-definition word ("PhoneNumber:") at the start of
// line, or false.
bool valueAfter(const std::string& line, std::string_view word, std::string& value)
{
    if (!startsWithNoCase(line, word))
        return false;
    value = trimmed(std::string_view(line).substr(word.size()));
    return true;
}

// A web address: http:// or https:// and no blank, quote or backslash (a
// URL is written as it stands, and a backslash would read as an escape).
bool isWebAddress(std::string_view text)
{
    return (startsWithNoCase(text, "http://") || startsWithNoCase(text, "https://")) &&
           text.find_first_of(" \t\"\\") == std::string_view::npos;
}

}  // namespace

std::string webAddressOfLine(const std::string& line)
{
    if (!startsWithNoCase(line, "http://") && !startsWithNoCase(line, "https://"))
        return {};
    const size_t slashes = line.find("//") + 2;
    const std::string rest = trimmed(std::string_view(line).substr(slashes));
    const std::string url = line.substr(0, slashes) + rest;
    return rest.empty() || !isWebAddress(url) ? std::string() : url;
}

namespace {

// Web addresses between double quotes, as the Data view finds links.
void addQuotedWebAddresses(const std::string& line, std::vector<std::string>& urls)
{
    size_t open = line.find('"');
    while (open != std::string::npos) {
        const size_t close = line.find('"', open + 1);
        if (close == std::string::npos)
            return;
        const std::string inner = line.substr(open + 1, close - open - 1);
        if (isWebAddress(inner))
            urls.push_back(inner);
        open = line.find('"', close + 1);
    }
}

int number(std::string_view digits)
{
    int n = 0;
    for (char c : digits)
        n = n * 10 + (c - '0');
    return n;
}

bool allDigits(std::string_view text)
{
    if (text.empty())
        return false;
    for (char c : text)
        if (!isDigit(c))
            return false;
    return true;
}

bool validDate(int year, int month, int day)
{
    static const int days[] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12 || day < 1 || day > days[month - 1])
        return false;
    const bool leap = year < 0 || (year % 4 == 0 && (year % 100 != 0 || year % 400 == 0));
    return month != 2 || day < 29 || leap;
}

std::string twoDigits(int n)
{
    return std::string{static_cast<char>('0' + n / 10), static_cast<char>('0' + n % 10)};
}

// "12345 City" or "D-12345 City": the code, or empty.
std::string postalCodeOf(const std::string& line)
{
    size_t i = 0;
    while (i < line.size() && i < 3 && line[i] >= 'A' && line[i] <= 'Z')
        ++i;
    if (i > 0) {
        if (i >= line.size() || line[i] != '-')
            return {};
        ++i;
    }
    const size_t digitsStart = i;
    while (i < line.size() && isDigit(line[i]))
        ++i;
    const size_t digits = i - digitsStart;
    if (digits < 4 || digits > 5 || i >= line.size() || line[i] != ' ' || trimmed(line.substr(i)).empty())
        return {};
    return line.substr(0, i);
}

bool isPredefinitionLine(const std::string& line)
{
    for (std::string_view word : {"PhoneNumber:", "FaxNumber:", "eMail:", "http://", "https://", "Urgent:",
                                  "Birthday:", "Profession:", "Address:", "Info:", "ToDo:"})
        if (startsWithNoCase(line, word))
            return true;
    return false;
}

// One to three words of letters: the name of a country.
bool looksLikeCountry(const std::string& line)
{
    if (line.size() > 60 || line.find_first_of("0123456789,@&+:\"") != std::string::npos)
        return false;
    NameReading reading = readHeading(line);
    return reading.person && reading.phone.empty() && reading.prefix.empty() && line.find(',') == std::string::npos;
}

}  // namespace

std::string phoneDigits(const std::string& number)
{
    std::string out;
    for (char c : number)
        if (isDigit(c) || (c == '+' && out.empty()))
            out += c;
    return out;
}

std::string birthdayFromText(const std::string& text)
{
    const std::string t = trimmed(text);
    if (t.size() == 10 && t[4] == '-' && t[7] == '-') {
        const std::string_view v(t);
        if (!allDigits(v.substr(0, 4)) || !allDigits(v.substr(5, 2)) || !allDigits(v.substr(8, 2)))
            return {};
        const int year = number(v.substr(0, 4)), month = number(v.substr(5, 2)), day = number(v.substr(8, 2));
        return validDate(year, month, day) ? t : std::string();
    }
    // Day.Month.Year, day and month of one or two digits, a year of four,
    // or no year at all ("14.02.").
    const size_t dot1 = t.find('.');
    const size_t dot2 = dot1 == std::string::npos ? dot1 : t.find('.', dot1 + 1);
    if (dot2 == std::string::npos)
        return {};
    const std::string_view v(t);
    const std::string_view dayText = v.substr(0, dot1), monthText = v.substr(dot1 + 1, dot2 - dot1 - 1),
                           yearText = v.substr(dot2 + 1);
    if (!allDigits(dayText) || dayText.size() > 2 || !allDigits(monthText) || monthText.size() > 2)
        return {};
    const int day = number(dayText), month = number(monthText);
    if (yearText.empty())
        return validDate(-1, month, day) ? "--" + twoDigits(month) + "-" + twoDigits(day) : std::string();
    if (!allDigits(yearText) || yearText.size() != 4)
        return {};
    const int year = number(yearText);
    if (!validDate(year, month, day))
        return {};
    return std::string(yearText) + "-" + twoDigits(month) + "-" + twoDigits(day);
}

Contact contactFromEntry(const std::vector<std::string>& lines)
{
    if (lines.empty())
        return Contact();
    const NameReading reading = readHeading(lines[0]);
    Contact contact = readEntry(lines, reading);
    contact.formattedName = reading.formattedName;
    if (reading.person) {
        contact.family = reading.family;
        contact.given = reading.given;
        contact.prefix = reading.prefix;
    } else if (!reading.formattedName.empty()) {
        contact.isOrganization = true;
        contact.organization = reading.formattedName;
    }
    size_t noteSize = lines.size();
    for (const std::string& line : lines)
        noteSize += line.size();
    contact.note.reserve(noteSize);
    for (size_t i = 0; i < lines.size(); ++i) {
        if (i > 0)
            contact.note += '\n';
        contact.note += lines[i];
    }
    // An entry of one empty line goes out as a note of one blank: import
    // skips a contact that has nothing at all.
    if (contact.note.empty())
        contact.note.push_back(' ');
    return contact;
}

Contact readEntry(const std::vector<std::string>& lines, const NameReading& reading)
{
    Contact contact;

    for (size_t i = 1; i < lines.size(); ++i) {
        const std::string& line = lines[i];
        std::string value;
        if (valueAfter(line, "PhoneNumber:", value)) {
            if (!value.empty())
                contact.phones.push_back({value, false, ""});
        } else if (valueAfter(line, "FaxNumber:", value)) {
            if (!value.empty())
                contact.phones.push_back({value, true, ""});
        } else if (valueAfter(line, "eMail:", value)) {
            if (!value.empty())
                contact.emails.push_back(value);
        } else if (valueAfter(line, "Birthday:", value)) {
            if (contact.birthday.empty())
                contact.birthday = birthdayFromText(value);
        } else if (valueAfter(line, "Profession:", value)) {
            if (!value.empty())
                contact.titles.push_back(value);
        } else if (std::string url = webAddressOfLine(line); !url.empty()) {
            contact.urls.push_back(url);
            continue;
        }
        addQuotedWebAddresses(line, contact.urls);
    }

    if (!reading.phone.empty()) {
        const std::string digits = phoneDigits(reading.phone);
        bool listed = false;
        for (const Contact::Phone& phone : contact.phones)
            listed = listed || (!phone.fax && phoneDigits(phone.number) == digits);
        if (!listed)
            contact.phones.insert(contact.phones.begin(), {reading.phone, false, ""});
    }

    if (lines.size() >= 3 && !isPredefinitionLine(lines[1]) && !isPredefinitionLine(lines[2])) {
        const std::string code = postalCodeOf(lines[2]);
        const std::string street = trimmed(lines[1]);
        if (!code.empty() && !street.empty()) {
            Contact::Address address;
            address.street = street;
            address.postalCode = code;
            address.locality = trimmed(std::string_view(lines[2]).substr(code.size()));
            if (lines.size() >= 4 && !isPredefinitionLine(lines[3]) && looksLikeCountry(lines[3]))
                address.country = trimmed(lines[3]);
            contact.addresses.push_back(address);
        }
    }
    return contact;
}
