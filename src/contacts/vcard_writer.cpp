#include "contacts/vcard_writer.h"

namespace {

constexpr size_t maxLineOctets = 75;

void appendFolded(std::string& out, std::string_view line)
{
    size_t pos = 0;
    size_t room = maxLineOctets;
    while (line.size() - pos > room) {
        size_t cut = pos + room;
        // Back up to the start of a UTF-8 sequence.
        while (cut > pos && (static_cast<unsigned char>(line[cut]) & 0xC0) == 0x80)
            --cut;
        out.append(line, pos, cut - pos);
        out += "\r\n ";
        pos = cut;
        room = maxLineOctets - 1;
    }
    out.append(line, pos, std::string_view::npos);
    out += "\r\n";
}

void appendEscaped(std::string& out, std::string_view text)
{
    size_t i = 0;
    while (i < text.size()) {
        // Plain runs go in at once.
        size_t end = i;
        while (end < text.size() && text[end] != '\\' && text[end] != ',' && text[end] != ';' && text[end] != '\r' &&
               text[end] != '\n')
            ++end;
        out.append(text, i, end - i);
        if (end == text.size())
            return;
        const char c = text[end];
        i = end + 1;
        if (c == '\r' || c == '\n') {
            if (c == '\r' && i < text.size() && text[i] == '\n')
                ++i;
            out += "\\n";
        } else {
            out += '\\';
            out += c;
        }
    }
}

// Writes one content line: the name and what follows is gathered in line,
// then folded onto out.
struct LineWriter {
    std::string& out;
    std::string line;

    LineWriter& start(std::string_view head)
    {
        line.assign(head);
        return *this;
    }
    LineWriter& text(std::string_view value)
    {
        appendEscaped(line, value);
        return *this;
    }
    LineWriter& raw(std::string_view value)
    {
        line += value;
        return *this;
    }
    void end() { appendFolded(out, line); }
};

}  // namespace

std::string escapeVCardText(const std::string& text)
{
    std::string out;
    out.reserve(text.size() + 8);
    appendEscaped(out, text);
    return out;
}

std::string foldVCardLine(const std::string& line)
{
    std::string out;
    appendFolded(out, line);
    return out;
}

void appendVCard(std::string& out, const Contact& contact, VCardVersion version)
{
    const bool v4 = version == VCardVersion::V4;
    LineWriter w{out, {}};
    w.line.reserve(128);
    out += v4 ? "BEGIN:VCARD\r\nVERSION:4.0\r\n" : "BEGIN:VCARD\r\nVERSION:3.0\r\n";
    out += "PRODID:-//ORDANE-Lumo//lumo export//EN\r\n";
    if (v4 && contact.isOrganization)
        out += "KIND:org\r\n";
    w.start("FN:").text(contact.formattedName).end();
    w.start("N:").text(contact.family).raw(";").text(contact.given).raw(";").text(contact.additional).raw(";");
    w.text(contact.prefix).raw(";").text(contact.suffix).end();
    if (!contact.organization.empty())
        w.start("ORG:").text(contact.organization).end();
    for (const Contact::Phone& phone : contact.phones)
        w.start(phone.fax ? "TEL;TYPE=fax:" : "TEL;TYPE=voice:").text(phone.number).end();
    for (const std::string& email : contact.emails)
        w.start(v4 ? "EMAIL:" : "EMAIL;TYPE=internet:").text(email).end();
    // A URI value: commas and semicolons stand as they are.
    for (const std::string& url : contact.urls)
        w.start("URL:").raw(url).end();
    if (!contact.birthday.empty()) {
        const std::string& date = contact.birthday;
        if (v4) {   // the basic form: 19610214, --0214
            w.start("BDAY:");
            for (size_t i = 0; i < date.size(); ++i)
                if (date[i] != '-' || i < 2)
                    w.line += date[i];
            w.end();
        } else if (!date.starts_with("--")) {
            w.start("BDAY:").raw(date).end();
        }
    }
    for (const std::string& title : contact.titles)
        w.start("TITLE:").text(title).end();
    for (const Contact::Address& a : contact.addresses) {
        w.start("ADR:").text(a.poBox).raw(";").text(a.extended).raw(";").text(a.street).raw(";");
        w.text(a.locality).raw(";").text(a.region).raw(";").text(a.postalCode).raw(";").text(a.country).end();
    }
    if (!contact.note.empty())
        w.start("NOTE:").text(contact.note).end();
    out += "END:VCARD\r\n";
}
