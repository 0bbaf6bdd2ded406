#include "contacts/csv_reader.h"

#include <algorithm>

#include "contacts/contact_from_entry.h"
#include "contacts/csv_formula_guard.h"
#include "contacts/trimmed.h"
#include "contacts/utf8.h"

namespace {

std::string lowered(std::string text)
{
    for (char& c : text)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c + 32);
    return text;
}

bool has(const std::string& text, std::string_view part)
{
    return text.find(part) != std::string::npos;
}

bool isAny(const std::string& text, std::initializer_list<std::string_view> names)
{
    return std::find(names.begin(), names.end(), text) != names.end();
}

// The separator that the header line uses most outside quotes.
char separatorOf(std::string_view text)
{
    size_t commas = 0, semicolons = 0, tabs = 0;
    bool quoted = false;
    for (char c : text) {
        if (c == '"')
            quoted = !quoted;
        else if (!quoted && (c == '\n' || c == '\r'))
            break;
        else if (!quoted)
            commas += c == ',', semicolons += c == ';', tabs += c == '\t';
    }
    if (semicolons > commas && semicolons >= tabs)
        return ';';
    if (tabs > commas && tabs > semicolons)
        return '\t';
    return ',';
}

// Takes the words of part out of header; the rest names the group.
std::string without(std::string header, std::string_view part)
{
    const size_t at = header.find(part);
    if (at != std::string::npos)
        header.erase(at, part.size());
    return trimmed(header);
}

// The export's "YYYY-MM-DD" and "--MM-DD", "DD.MM.YYYY", and the
// "M/D/YYYY" of English mail programs.
std::string birthdayFromCsv(const std::string& value)
{
    if (value.size() == 7 && value.starts_with("--"))
        return birthdayFromText(value.substr(5, 2) + "." + value.substr(2, 2) + ".");
    const size_t slash1 = value.find('/');
    const size_t slash2 = slash1 == std::string::npos ? slash1 : value.find('/', slash1 + 1);
    if (slash2 != std::string::npos && value.find('/', slash2 + 1) == std::string::npos) {
        const std::string month = value.substr(0, slash1), day = value.substr(slash1 + 1, slash2 - slash1 - 1);
        return birthdayFromText(day + "." + month + "." + value.substr(slash2 + 1));
    }
    return birthdayFromText(value);
}

}  // namespace

CsvOpenQuote readCsvRecords(std::string_view text,
                            const std::function<void(std::vector<std::string>&, size_t)>& take)
{
    const char separator = separatorOf(text);
    std::vector<std::string> record;
    std::string field;
    size_t fields = 0;              // fields of record in use; the vector keeps their buffers
    size_t line = 1, recordLine = 1, quoteLine = 0;
    bool quoted = false, fieldStarted = false;
    auto endField = [&] {
        if (fields == record.size())
            record.emplace_back();
        record[fields++].swap(field);
        field.clear();
        fieldStarted = false;
    };
    auto endRecord = [&] {
        endField();
        // A record of one empty field is an empty line.
        if (fields > 1 || !record[0].empty()) {
            record.resize(fields);
            take(record, recordLine);
        }
        fields = 0;
        recordLine = line;
    };
    const size_t size = text.size();
    for (size_t i = 0; i < size; ++i) {
        const char c = text[i];
        if (quoted) {
            // The run up to the next quote goes in at once.
            size_t end = text.find('"', i);
            if (end == std::string_view::npos)
                end = size;
            for (size_t k = i; k < end; ++k)
                line += text[k] == '\n' || (text[k] == '\r' && (k + 1 >= size || text[k + 1] != '\n'));
            field.append(text.substr(i, end - i));
            i = end;
            if (i >= size)
                break;
            if (i + 1 < size && text[i + 1] == '"')
                field += '"', ++i;
            else
                quoted = false;
        } else if (c == '"' && !fieldStarted) {
            quoted = fieldStarted = true;
            quoteLine = line;
        } else if (c == separator) {
            endField();
        } else if (c == '\r' || c == '\n') {
            if (c == '\r' && i + 1 < size && text[i + 1] == '\n')
                ++i;
            ++line;
            endRecord();
        } else {
            // Plain text up to the next separator, quote or line end.
            size_t end = i + 1;
            while (end < size && text[end] != separator && text[end] != '"' && text[end] != '\r' && text[end] != '\n')
                ++end;
            field.append(text.substr(i, end - i));
            fieldStarted = true;
            i = end - 1;
        }
    }
    CsvOpenQuote open;
    if (quoted)
        open = {quoteLine, line - (text.ends_with('\n') || text.ends_with('\r') ? 1 : 0)};
    if (fieldStarted || !field.empty() || fields > 0)
        endRecord();
    return open;
}

std::vector<std::vector<std::string>> readCsvRecords(std::string_view text)
{
    std::vector<std::vector<std::string>> records;
    readCsvRecords(text, [&](std::vector<std::string>& record, size_t) { records.push_back(record); });
    return records;
}

CsvColumnMeaning classifyCsvColumn(const std::string& header)
{
    using Part = CsvColumnMeaning::Part;
    CsvColumnMeaning m;
    if (header.size() > 200)   // no column's name; perhaps a whole file without line breaks
        return m;
    const std::string h = lowered(trimmed(header));
    auto kind = [&](CsvColumn k) {
        m.kind = k;
        return m;
    };
    if (isAny(h, {"name", "display name", "full name", "formatted name", "fn", "anzeigename"}))
        return kind(CsvColumn::Name);
    if (isAny(h, {"first name", "firstname", "given name", "vorname"}))
        return kind(CsvColumn::Given);
    if (isAny(h, {"middle name", "additional name", "additional names", "weitere vornamen"}))
        return kind(CsvColumn::Middle);
    if (isAny(h, {"last name", "lastname", "family name", "surname", "nachname"}))
        return kind(CsvColumn::Family);
    if (isAny(h, {"title", "name prefix", "prefix", "anrede"}))
        return kind(CsvColumn::Prefix);
    if (isAny(h, {"suffix", "name suffix"}))
        return kind(CsvColumn::Suffix);
    if (isAny(h, {"notes", "note", "notizen", "notiz", "comments"}))
        return kind(CsvColumn::Notes);
    if (isAny(h, {"nickname", "nick name", "spitzname"}))
        return kind(CsvColumn::Nickname);
    if (isAny(h, {"birth year", "birthyear"}))
        return kind(CsvColumn::BirthYear);
    if (isAny(h, {"birth month", "birthmonth"}))
        return kind(CsvColumn::BirthMonth);
    if (isAny(h, {"birth day", "birthday day"}))
        return kind(CsvColumn::BirthDay);
    // Numbered columns of web services: "Phone 1 - Type", "Phone 1 - Value".
    if (const size_t dash = h.find(" - "); dash != std::string::npos &&
                                           (h.starts_with("phone ") || h.starts_with("e-mail ") || h.starts_with("email "))) {
        const std::string what = h.substr(dash + 3);
        m.typeGroup = h.substr(0, dash);
        const bool phone = h.starts_with("phone ");
        if (what == "type" || what == "label")
            return kind(phone ? CsvColumn::PhoneType : CsvColumn::EmailType);
        if (what == "value")
            return kind(phone ? CsvColumn::Phone : CsvColumn::Email);
        m.typeGroup.clear();
    }
    if (has(h, "type") || has(h, "label") || has(h, "display") || has(h, "formatted"))
        return m;
    if (has(h, "birthday") || has(h, "geburtstag") || h == "bday")
        return kind(CsvColumn::Birthday);
    if (has(h, "fax"))
        return kind(CsvColumn::Fax);
    if (has(h, "e-mail") || has(h, "email") || has(h, "mail address"))
        return kind(CsvColumn::Email);
    if (has(h, "web page") || has(h, "webpage") || has(h, "website") || has(h, "web site") ||
        has(h, "homepage") || h == "url" || h == "web")
        return kind(CsvColumn::Url);
    if (has(h, "phone") || has(h, "mobile") || has(h, "pager") || has(h, "telefon") || has(h, "handy") ||
        h == "tel" || has(h, "mobil")) {
        if (has(h, "mobile") || has(h, "mobil") || has(h, "cell") || has(h, "handy"))
            m.label = "mobile";
        else if (has(h, "pager"))
            m.label = "pager";
        else if (has(h, "business") || has(h, "work") || has(h, "company") || has(h, "geschäft"))
            m.label = "work";
        else if (has(h, "home") || has(h, "privat"))
            m.label = "home";
        return kind(CsvColumn::Phone);
    }
    if (has(h, "job title") || has(h, "profession") || has(h, "beruf") || has(h, "position") ||
        has(h, "organization 1 - title") || h == "role")
        return kind(CsvColumn::JobTitle);
    if (isAny(h, {"company", "organization", "organisation", "organization name", "organization 1 - name", "firma",
                  "unternehmen"}))
        return kind(CsvColumn::Organization);

    // Postal addresses: the part named by a word, the group by the rest.
    struct Word {
        std::string_view text;
        Part part;
    };
    // Longer and more particular words first; "address" alone names the street.
    static constexpr Word words[] = {
        {"po box", Part::PoBox},           {"pobox", Part::PoBox},            {"street 2", Part::Extended},
        {"street 3", Part::Extended},      {"address 2", Part::Extended},     {"extended address", Part::Extended},
        {"country/region", Part::Country}, {"country", Part::Country},        {"postal code", Part::PostalCode},
        {"zipcode", Part::PostalCode},     {"zip", Part::PostalCode},         {"postcode", Part::PostalCode},
        {"plz", Part::PostalCode},         {"city", Part::Locality},          {"ort", Part::Locality},
        {"state", Part::Region},           {"region", Part::Region},          {"province", Part::Region},
        {"land", Part::Country},           {"street", Part::Street},          {"straße", Part::Street},
        {"address", Part::Street},
    };

    for (const Word& word : words) {
        const size_t at = h.find(word.text);
        if (at == std::string::npos)
            continue;
        // "ort" and "land" as whole words only (not "port", "England").
        const bool startOk = at == 0 || h[at - 1] == ' ' || h[at - 1] == '-';
        const bool endOk = at + word.text.size() == h.size() || h[at + word.text.size()] == ' ';
        if ((word.text == "ort" || word.text == "land") && !(startOk && endOk))
            continue;
        m.kind = CsvColumn::Address;
        m.part = word.part;
        m.addressGroup = without(without(h, word.text), "address");
        return m;
    }
    return m;
}

namespace {

// "* Mobile", "Home Fax", "Work" as a telephone's kind.
void applyPhoneType(Contact::Phone& phone, const std::string& type)
{
    const std::string t = lowered(type);
    phone.fax = has(t, "fax");
    if (has(t, "mobile") || has(t, "cell"))
        phone.label = "mobile";
    else if (has(t, "pager"))
        phone.label = "pager";
    else if (has(t, "work") || has(t, "business"))
        phone.label = "work";
    else if (has(t, "home"))
        phone.label = "home";
    else
        phone.label.clear();
}

// Several values in one field, as web services write them in their
// numbered columns: "a ::: b".  Other columns hold one value.
template <class Take>
void eachValue(const std::string& field, bool numbered, Take take)
{
    if (!numbered) {
        take(field);
        return;
    }
    size_t start = 0;
    for (;;) {
        const size_t end = field.find(" ::: ", start);
        std::string value = trimmed(std::string_view(field).substr(start, end == std::string::npos ? std::string::npos : end - start));
        if (!value.empty())
            take(value);
        if (end == std::string::npos)
            return;
        start = end + 5;
    }
}

struct CsvContactReader {
    std::vector<CsvColumnMeaning> columns;
    std::vector<std::string> groups;

    // False when the header names no known column.
    bool readHeader(const std::vector<std::string>& header)
    {
        bool known = false;
        for (const std::string& name : header) {
            columns.push_back(classifyCsvColumn(name));
            known = known || columns.back().kind != CsvColumn::Skip;
            if (columns.back().kind == CsvColumn::Address &&
                std::find(groups.begin(), groups.end(), columns.back().addressGroup) == groups.end())
                groups.push_back(columns.back().addressGroup);
        }
        return known;
    }

    const std::string* typeOf(const std::vector<std::string>& record, const std::string& group) const
    {
        for (size_t c = 0; c < record.size() && c < columns.size(); ++c)
            if (columns[c].kind == CsvColumn::PhoneType && columns[c].typeGroup == group)
                return &record[c];
        return nullptr;
    }

    void readRecord(std::vector<std::string>& record, Contact& contact) const
    {
        std::vector<Contact::Address> addresses(groups.size());
        std::string year, month, day;
        for (size_t c = 0; c < record.size() && c < columns.size(); ++c) {
            std::string& field = record[c];
            if (isFormulaGuarded(field))
                field.erase(0, 1);
        }
        for (size_t c = 0; c < record.size() && c < columns.size(); ++c) {
            const CsvColumnMeaning& m = columns[c];
            if (m.kind == CsvColumn::Notes) {
                // Notes as they stand: blanks there may be an entry's lines.
                if (record[c].empty())
                    continue;
                if (contact.note.empty())
                    contact.note = std::move(record[c]);
                else
                    contact.note += "\n" + record[c];
                continue;
            }
            // Type columns are read by the number of their group.
            if (m.kind == CsvColumn::Skip || m.kind == CsvColumn::PhoneType || m.kind == CsvColumn::EmailType)
                continue;
            // Taken, not copied: a field may be most of the file.
            std::string value = std::move(record[c]);
            value.erase(value.find_last_not_of(" \t") + 1);
            value.erase(0, std::min(value.find_first_not_of(" \t"), value.size()));
            if (value.empty())
                continue;
            switch (m.kind) {
            case CsvColumn::Skip:
            case CsvColumn::Notes:
            case CsvColumn::PhoneType:
            case CsvColumn::EmailType: break;
            case CsvColumn::Name: contact.formattedName = std::move(value); break;
            case CsvColumn::Given: contact.given = value; break;
            case CsvColumn::Middle: contact.additional = value; break;
            case CsvColumn::Family: contact.family = value; break;
            case CsvColumn::Prefix: contact.prefix = value; break;
            case CsvColumn::Suffix: contact.suffix = value; break;
            case CsvColumn::Nickname: contact.nickname = value; break;
            case CsvColumn::Organization: contact.organization = value; break;
            case CsvColumn::JobTitle: contact.titles.push_back(value); break;
            case CsvColumn::Phone: {
                const std::string* type = m.typeGroup.empty() ? nullptr : typeOf(record, m.typeGroup);
                eachValue(value, !m.typeGroup.empty(), [&](const std::string& number) {
                    Contact::Phone phone{number, false, m.label};
                    if (type && !trimmed(*type).empty())
                        applyPhoneType(phone, *type);
                    contact.phones.push_back(phone);
                });
                break;
            }
            case CsvColumn::Fax: contact.phones.push_back({value, true, ""}); break;
            case CsvColumn::Email:
                eachValue(value, !m.typeGroup.empty(), [&](const std::string& email) { contact.emails.push_back(email); });
                break;
            case CsvColumn::Url: contact.urls.push_back(value); break;
            case CsvColumn::Birthday:
                // An empty date of some mail programs: "0/0/00".
                if (value.find_first_of("123456789") == std::string::npos)
                    break;
                contact.birthday = birthdayFromCsv(value);
                if (contact.birthday.empty())
                    contact.birthdayText = value;
                break;
            case CsvColumn::BirthYear: year = value; break;
            case CsvColumn::BirthMonth: month = value; break;
            case CsvColumn::BirthDay: day = value; break;
            case CsvColumn::Address: {
                Contact::Address& a = addresses[static_cast<size_t>(
                    std::find(groups.begin(), groups.end(), m.addressGroup) - groups.begin())];
                using Part = CsvColumnMeaning::Part;
                std::string* slot = m.part == Part::PoBox        ? &a.poBox
                                    : m.part == Part::Extended   ? &a.extended
                                    : m.part == Part::Street     ? &a.street
                                    : m.part == Part::Locality   ? &a.locality
                                    : m.part == Part::Region     ? &a.region
                                    : m.part == Part::PostalCode ? &a.postalCode
                                                                 : &a.country;
                *slot += (slot->empty() ? "" : ", ") + value;
                break;
            }
            }
        }
        if (contact.birthday.empty() && contact.birthdayText.empty() && !month.empty() && !day.empty()) {
            contact.birthday = birthdayFromText(day + "." + month + "." + year);
            if (contact.birthday.empty())
                contact.birthdayText = day + "." + month + "." + year;
        }
        for (const Contact::Address& a : addresses)
            if (!(a.poBox + a.extended + a.street + a.locality + a.region + a.postalCode + a.country).empty())
                contact.addresses.push_back(a);
        if (!contact.hasStructuredName() && !contact.organization.empty() &&
            (contact.formattedName.empty() || contact.formattedName == contact.organization))
            contact.isOrganization = true;
    }
};

}  // namespace

bool readCsvContacts(std::string_view text, bool lenient, const std::function<void(Contact&)>& take,
                     std::string& why, std::vector<std::string>& warnings)
{
    CsvContactReader reader;
    bool header = true, known = false;
    Contact contact;
    const CsvOpenQuote open = readCsvRecords(text, [&](std::vector<std::string>& record, size_t) {
        if (header) {
            header = false;
            known = reader.readHeader(record);
            return;
        }
        if (!known)
            return;
        contact = Contact();
        reader.readRecord(record, contact);
        take(contact);
    });
    if (header) {
        why = "no header row";
        return false;
    }
    if (!known) {
        why = "the header row names no known column";
        return false;
    }
    if (open.openedOnLine == 0)
        return true;
    const std::string lines = "lines " + std::to_string(open.openedOnLine) + " to " + std::to_string(open.lastLine);
    if (!lenient) {
        why = "the quote that opens a field on line " + std::to_string(open.openedOnLine) +
              " is never closed (--lenient joins " + lines + " into that field)";
        return false;
    }
    warnings.push_back("the quote that opens a field on line " + std::to_string(open.openedOnLine) +
                       " is never closed: " + lines + " joined into that field");
    return true;
}

bool readCsvContacts(std::string_view bytes, std::vector<Contact>& contacts, std::string& why)
{
    std::string storage;
    std::vector<std::string> warnings;
    return readCsvContacts(decodeOutsideText(bytes, storage), true,
                           [&](Contact& contact) { contacts.push_back(std::move(contact)); }, why, warnings);
}
