#include "contacts/csv_writer.h"

#include "contacts/csv_formula_guard.h"

void appendCsvField(std::string& out, std::string_view value)
{
    const bool quoted = value.find_first_of(",\"\r\n") != std::string_view::npos;
    if (quoted)
        out += '"';
    if (needsFormulaGuard(value))
        out += '\'';
    if (!quoted) {
        out += value;
    } else {
        for (char c : value) {
            if (c == '"')
                out += '"';
            out += c;
        }
        out += '"';
    }
}

std::string csvField(const std::string& value)
{
    std::string out;
    appendCsvField(out, value);
    return out;
}

void appendCsvHeader(std::string& out)
{
    out += "Name,Phone,Fax,Email,URL,Birthday,Notes\r\n";
}

void appendCsvRecord(std::string& out, const Contact& contact)
{
    const std::string* phone = nullptr;
    const std::string* fax = nullptr;
    for (const Contact::Phone& p : contact.phones) {
        const std::string*& slot = p.fax ? fax : phone;
        if (!slot)
            slot = &p.number;
    }
    std::string notes;
    notes.reserve(contact.note.size() + 64);
    for (char c : contact.note) {
        if (c == '\n')
            notes += '\r';
        notes += c;
    }
    appendCsvField(out, contact.formattedName);
    out += ',';
    appendCsvField(out, phone ? *phone : std::string_view());
    out += ',';
    appendCsvField(out, fax ? *fax : std::string_view());
    out += ',';
    appendCsvField(out, contact.emails.empty() ? std::string_view() : contact.emails[0]);
    out += ',';
    appendCsvField(out, contact.urls.empty() ? std::string_view() : contact.urls[0]);
    out += ',';
    appendCsvField(out, contact.birthday);
    out += ',';
    appendCsvField(out, notes);
    out += "\r\n";
}
