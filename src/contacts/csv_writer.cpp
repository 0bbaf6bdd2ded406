#include "contacts/csv_writer.h"

std::string csvField(const std::string& text)
{
    if (text.find_first_of(",\"\r\n") == std::string::npos)
        return text;
    std::string out = "\"";
    for (char c : text) {
        if (c == '"')
            out += '"';
        out += c;
    }
    out += '"';
    return out;
}

void appendCsvHeader(std::string& out)
{
    out += "Name,Phone,Fax,Email,URL,Birthday,Notes\r\n";
}

void appendCsvRecord(std::string& out, const Contact& contact)
{
    std::string phone, fax;
    for (const Contact::Phone& p : contact.phones) {
        std::string& slot = p.fax ? fax : phone;
        if (slot.empty())
            slot = p.number;
    }
    std::string notes;
    for (char c : contact.note) {
        if (c == '\n')
            notes += '\r';
        notes += c;
    }
    out += csvField(contact.formattedName) + ',' + csvField(phone) + ',' + csvField(fax) + ',' +
           csvField(contact.emails.empty() ? std::string() : contact.emails[0]) + ',' +
           csvField(contact.urls.empty() ? std::string() : contact.urls[0]) + ',' + csvField(contact.birthday) +
           ',' + csvField(notes) + "\r\n";
}
