#include "contacts/vcard_writer.h"

namespace {

constexpr size_t maxLineOctets = 75;

void addLine(std::string& out, const std::string& line)
{
    out += foldVCardLine(line);
}

std::string structured(std::initializer_list<const std::string*> parts)
{
    std::string out;
    bool first = true;
    for (const std::string* part : parts) {
        if (!first)
            out += ';';
        out += escapeVCardText(*part);
        first = false;
    }
    return out;
}

}  // namespace

std::string escapeVCardText(const std::string& text)
{
    std::string out;
    out.reserve(text.size() + 8);
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        switch (c) {
        case '\\': out += "\\\\"; break;
        case ',': out += "\\,"; break;
        case ';': out += "\\;"; break;
        case '\r':
            if (i + 1 < text.size() && text[i + 1] == '\n')
                ++i;
            out += "\\n";
            break;
        case '\n': out += "\\n"; break;
        default: out += c;
        }
    }
    return out;
}

std::string foldVCardLine(const std::string& line)
{
    std::string out;
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
    out.append(line, pos, std::string::npos);
    out += "\r\n";
    return out;
}

void appendVCard(std::string& out, const Contact& contact, VCardVersion version)
{
    const bool v4 = version == VCardVersion::V4;
    addLine(out, "BEGIN:VCARD");
    addLine(out, v4 ? "VERSION:4.0" : "VERSION:3.0");
    addLine(out, "PRODID:-//ORDANE-Lumo//lumo export//EN");
    if (v4 && contact.isOrganization)
        addLine(out, "KIND:org");
    addLine(out, "FN:" + escapeVCardText(contact.formattedName));
    addLine(out, "N:" + structured({&contact.family, &contact.given, &contact.additional, &contact.prefix,
                                    &contact.suffix}));
    if (!contact.organization.empty())
        addLine(out, "ORG:" + escapeVCardText(contact.organization));
    for (const Contact::Phone& phone : contact.phones)
        addLine(out, std::string(phone.fax ? "TEL;TYPE=fax:" : "TEL;TYPE=voice:") + escapeVCardText(phone.number));
    for (const std::string& email : contact.emails)
        addLine(out, (v4 ? "EMAIL:" : "EMAIL;TYPE=internet:") + escapeVCardText(email));
    // A URI value: commas and semicolons stand as they are.
    for (const std::string& url : contact.urls)
        addLine(out, "URL:" + url);
    if (!contact.birthday.empty()) {
        std::string date = contact.birthday;
        if (v4) {   // the basic form: 19610214, --0214
            std::string compact;
            for (size_t i = 0; i < date.size(); ++i)
                if (date[i] != '-' || i < 2)
                    compact += date[i];
            addLine(out, "BDAY:" + compact);
        } else if (!date.starts_with("--")) {
            addLine(out, "BDAY:" + date);
        }
    }
    for (const std::string& title : contact.titles)
        addLine(out, "TITLE:" + escapeVCardText(title));
    for (const Contact::Address& a : contact.addresses)
        addLine(out, "ADR:" + structured({&a.poBox, &a.extended, &a.street, &a.locality, &a.region, &a.postalCode,
                                          &a.country}));
    if (!contact.note.empty())
        addLine(out, "NOTE:" + escapeVCardText(contact.note));
    addLine(out, "END:VCARD");
}
