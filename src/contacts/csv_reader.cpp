#include "contacts/csv_reader.h"

#include <algorithm>

#include "contacts/contact_from_entry.h"
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

std::vector<std::vector<std::string>> readCsvRecords(std::string_view text)
{
    const char separator = separatorOf(text);
    std::vector<std::vector<std::string>> records;
    std::vector<std::string> record;
    std::string field;
    bool quoted = false, fieldStarted = false;
    auto endField = [&] {
        record.push_back(field);
        field.clear();
        fieldStarted = false;
    };
    auto endRecord = [&] {
        endField();
        // A record of one empty field is an empty line.
        if (record.size() > 1 || !record[0].empty())
            records.push_back(record);
        record.clear();
    };
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (quoted) {
            if (c == '"' && i + 1 < text.size() && text[i + 1] == '"')
                field += '"', ++i;
            else if (c == '"')
                quoted = false;
            else
                field += c;
        } else if (c == '"' && !fieldStarted) {
            quoted = fieldStarted = true;
        } else if (c == separator) {
            endField();
        } else if (c == '\r' || c == '\n') {
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
                ++i;
            endRecord();
        } else {
            field += c;
            fieldStarted = true;
        }
    }
    if (fieldStarted || !field.empty() || !record.empty())
        endRecord();
    return records;
}

CsvColumnMeaning classifyCsvColumn(const std::string& header)
{
    using Part = CsvColumnMeaning::Part;
    const std::string h = lowered(trimmed(header));
    CsvColumnMeaning m;
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

bool readCsvContacts(std::string_view bytes, std::vector<Contact>& contacts, std::string& why)
{
    const std::string text = decodeOutsideText(bytes);
    const std::vector<std::vector<std::string>> records = readCsvRecords(text);
    if (records.empty()) {
        why = "no header row";
        return false;
    }
    std::vector<CsvColumnMeaning> columns;
    std::vector<std::string> groups;
    bool known = false;
    for (const std::string& header : records[0]) {
        columns.push_back(classifyCsvColumn(header));
        known = known || columns.back().kind != CsvColumn::Skip;
        if (columns.back().kind == CsvColumn::Address &&
            std::find(groups.begin(), groups.end(), columns.back().addressGroup) == groups.end())
            groups.push_back(columns.back().addressGroup);
    }
    if (!known) {
        why = "the header row names no known column";
        return false;
    }
    for (size_t r = 1; r < records.size(); ++r) {
        const std::vector<std::string>& record = records[r];
        Contact contact;
        std::vector<Contact::Address> addresses(groups.size());
        for (size_t c = 0; c < record.size() && c < columns.size(); ++c) {
            // Notes as they stand: blanks there may be an entry's lines.
            const std::string value = columns[c].kind == CsvColumn::Notes ? record[c] : trimmed(record[c]);
            if (value.empty())
                continue;
            const CsvColumnMeaning& m = columns[c];
            switch (m.kind) {
            case CsvColumn::Skip: break;
            case CsvColumn::Name: contact.formattedName = value; break;
            case CsvColumn::Given: contact.given = value; break;
            case CsvColumn::Middle: contact.additional = value; break;
            case CsvColumn::Family: contact.family = value; break;
            case CsvColumn::Prefix: contact.prefix = value; break;
            case CsvColumn::Suffix: contact.suffix = value; break;
            case CsvColumn::Organization: contact.organization = value; break;
            case CsvColumn::JobTitle: contact.titles.push_back(value); break;
            case CsvColumn::Phone: contact.phones.push_back({value, false, m.label}); break;
            case CsvColumn::Fax: contact.phones.push_back({value, true, ""}); break;
            case CsvColumn::Email: contact.emails.push_back(value); break;
            case CsvColumn::Url: contact.urls.push_back(value); break;
            case CsvColumn::Birthday:
                // An empty date of some mail programs: "0/0/00".
                if (value.find_first_of("123456789") == std::string::npos)
                    break;
                contact.birthday = birthdayFromCsv(value);
                if (contact.birthday.empty())
                    contact.birthdayText = value;
                break;
            case CsvColumn::Notes:
                contact.note += (contact.note.empty() ? "" : "\n") + value;
                break;
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
        for (const Contact::Address& a : addresses)
            if (!(a.poBox + a.extended + a.street + a.locality + a.region + a.postalCode + a.country).empty())
                contact.addresses.push_back(a);
        if (!contact.hasStructuredName() && !contact.organization.empty() &&
            (contact.formattedName.empty() || contact.formattedName == contact.organization))
            contact.isOrganization = true;
        contacts.push_back(std::move(contact));
    }
    return true;
}
