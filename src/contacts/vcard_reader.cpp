#include "contacts/vcard_reader.h"

#include <algorithm>
#include <string>

#include "contacts/hex_escapes.h"
#include "contacts/contact_from_entry.h"
#include "contacts/trimmed.h"
#include "contacts/utf8.h"

namespace {

char upper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c; }
char lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; }

std::string uppered(std::string_view text)
{
    std::string out(text);
    for (char& c : out)
        c = upper(c);
    return out;
}

std::string lowered(std::string_view text)
{
    std::string out(text);
    for (char& c : out)
        c = lower(c);
    return out;
}

bool startsWithNoCase(std::string_view text, std::string_view prefix)
{
    return text.size() >= prefix.size() && uppered(text.substr(0, prefix.size())) == uppered(prefix);
}

struct Property {
    std::string name;                 // upper case, without its group
    std::vector<std::string> types;   // TYPE values and bare parameters, lower case
    std::string charset;              // upper case
    std::string valueType;            // VALUE=, lower case
    bool quotedPrintable = false;
    bool base64 = false;
    std::string_view value;           // as written, not yet decoded; a view into the line
};

// The part of a content line before the value: up to the first colon
// outside double quotes.
size_t valueStart(std::string_view line)
{
    bool quoted = false;
    for (size_t i = 0; i < line.size(); ++i) {
        if (line[i] == '"')
            quoted = !quoted;
        else if (line[i] == ':' && !quoted)
            return i;
    }
    return std::string_view::npos;
}

void addTypes(Property& property, std::string_view list)
{
    size_t start = 0;
    while (start <= list.size()) {
        size_t end = list.find(',', start);
        if (end == std::string_view::npos)
            end = list.size();
        std::string type = lowered(trimmed(list.substr(start, end - start)));
        if (!type.empty())
            property.types.push_back(type);
        start = end + 1;
    }
}

void addParameter(Property& property, std::string_view parameter)
{
    const size_t equals = parameter.find('=');
    const std::string key = equals == std::string_view::npos ? "" : uppered(trimmed(parameter.substr(0, equals)));
    std::string value = trimmed(equals == std::string_view::npos ? parameter : parameter.substr(equals + 1));
    if (value.size() >= 2 && value.front() == '"' && value.back() == '"')
        value = value.substr(1, value.size() - 2);
    const std::string upperValue = uppered(value);
    if (key.empty() || key == "TYPE") {
        if (upperValue == "QUOTED-PRINTABLE")
            property.quotedPrintable = true;
        else if (upperValue == "BASE64")
            property.base64 = true;
        else
            addTypes(property, value);
    } else if (key == "ENCODING") {
        property.quotedPrintable = upperValue == "QUOTED-PRINTABLE";
        property.base64 = upperValue == "BASE64" || upperValue == "B";
    } else if (key == "CHARSET") {
        property.charset = upperValue;
    } else if (key == "VALUE") {
        property.valueType = lowered(value);
    }
}

bool parseProperty(std::string_view line, Property& property)
{
    const size_t colon = valueStart(line);
    if (colon == std::string_view::npos)
        return false;
    property.value = line.substr(colon + 1);
    const std::string_view head = line.substr(0, colon);
    // The name, then parameters split at semicolons outside double quotes.
    bool quoted = false;
    size_t start = 0;
    bool first = true;
    for (size_t i = 0; i <= head.size(); ++i) {
        if (i < head.size() && head[i] == '"') {
            quoted = !quoted;
        } else if (i == head.size() || (head[i] == ';' && !quoted)) {
            const std::string_view part = head.substr(start, i - start);
            if (first) {
                std::string name = uppered(trimmed(part));
                const size_t dot = name.rfind('.');
                property.name = dot == std::string::npos ? std::move(name) : name.substr(dot + 1);
                first = false;
            } else {
                addParameter(property, part);
            }
            start = i + 1;
        }
    }
    return true;
}


// The value's bytes as UTF-8, in its character set: a view of bytes, or of
// out when they had to be converted.
std::string_view decodeCharset(std::string_view bytes, const std::string& charset, std::string& out, bool known)
{
    if ((charset.empty() || charset == "UTF-8" || charset == "UTF8") && (known || isValidUtf8(bytes)))
        return bytes;
    if (charset.empty() || charset == "UTF-8" || charset == "UTF8" || charset == "ISO-8859-1" ||
        charset == "LATIN1" || charset == "WINDOWS-1252" || charset == "CP1252" || charset == "US-ASCII" ||
        charset == "ASCII" || charset == "ISO-8859-15")
        return out = utf8From1252(bytes);
    out.clear();
    for (char c : bytes) {
        if (static_cast<unsigned char>(c) < 0x80)
            out += c;
        else
            appendUtf8(out, 0xFFFD);
    }
    return out;
}

std::string unescape(std::string_view text, bool version21)
{
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        // Up to the next backslash at once.
        const size_t backslash = std::min(text.find('\\', i), text.size());
        out.append(text, i, backslash - i);
        i = backslash;
        if (i >= text.size())
            break;
        if (i + 1 >= text.size()) {
            out += text[i];
            continue;
        }
        const char next = text[i + 1];
        if (version21) {
            // 2.1 escapes only the semicolon.
            if (next == ';')
                out += ';', ++i;
            else
                out += '\\';
            continue;
        }
        switch (next) {
        case 'n':
        case 'N': out += '\n'; break;
        case '\\':
        case ',':
        case ';':
        case ':': out += next; break;
        default: out += '\\'; out += next; break;
        }
        ++i;
    }
    return out;
}

// A structured value's parts; a part's own list items joined by join.
// Parts end at semicolons and items at commas (3.0 and 4.0 only) that no
// backslash escapes.
std::vector<std::string> components(std::string_view value, size_t count, bool version21, const char* join)
{
    std::vector<std::string> out(count);
    size_t index = 0, itemStart = 0;
    for (size_t i = 0; i <= value.size() && index < count; ++i) {
        if (i < value.size() && value[i] == '\\' && i + 1 < value.size()) {
            ++i;
            continue;
        }
        const bool endPart = i == value.size() || value[i] == ';';
        if (!endPart && (version21 || value[i] != ','))
            continue;
        const std::string text = trimmed(unescape(value.substr(itemStart, i - itemStart), version21));
        if (!text.empty()) {
            if (!out[index].empty())
                out[index] += join;
            out[index] += text;
        }
        itemStart = i + 1;
        index += endPart;
    }
    return out;
}

bool hasType(const Property& property, std::string_view type)
{
    for (const std::string& t : property.types)
        if (t == type)
            return true;
    return false;
}

std::string birthdayFromVCard(std::string value)
{
    value = trimmed(value);
    const size_t time = value.find('T');
    if (time != std::string::npos)
        value = value.substr(0, time);
    std::string compact;
    for (char c : value)
        if (c != '-')
            compact += c;
    if (value.starts_with("--") && compact.size() == 4)
        return birthdayFromText(compact.substr(2, 2) + "." + compact.substr(0, 2) + ".");
    if (compact.size() == 8 && !value.starts_with("-"))
        return birthdayFromText(compact.substr(0, 4) + "-" + compact.substr(4, 2) + "-" + compact.substr(6, 2));
    return {};
}

void stripScheme(std::string& value, std::string_view scheme)
{
    if (startsWithNoCase(value, scheme))
        value.erase(0, scheme.size());
}

// wholeFileUtf8: the file is valid UTF-8, so its values need no check of their own.
void applyProperty(Contact& contact, const Property& property, bool version21, bool wholeFileUtf8)
{
    if (property.base64)
        return;
    std::string decoded, converted;
    std::string_view raw = property.value;
    if (property.quotedPrintable)
        raw = decoded = decodeHexEscapes(property.value, '=');
    const std::string_view value =
        decodeCharset(raw, property.charset, converted, wholeFileUtf8 && !property.quotedPrintable);
    const std::string& name = property.name;
    auto text = [&] { return trimmed(unescape(value, version21)); };

    if (name == "FN") {
        if (contact.formattedName.empty())
            contact.formattedName = text();
    } else if (name == "N") {
        if (contact.hasStructuredName())
            return;
        std::vector<std::string> n = components(value, 5, version21, " ");
        contact.family = n[0], contact.given = n[1], contact.additional = n[2];
        contact.prefix = n[3], contact.suffix = n[4];
    } else if (name == "ORG") {
        if (!contact.organization.empty())
            return;
        std::vector<std::string> parts = components(value, 16, version21, ", ");
        for (const std::string& part : parts)
            if (!part.empty())
                contact.organization += (contact.organization.empty() ? "" : ", ") + part;
    } else if (name == "TEL") {
        std::string number = text();
        stripScheme(number, "tel:");
        if (number.empty())
            return;
        Contact::Phone phone{number, hasType(property, "fax"), ""};
        if (hasType(property, "cell") || hasType(property, "mobile"))
            phone.label = "mobile";
        else if (hasType(property, "pager"))
            phone.label = "pager";
        else if (hasType(property, "work"))
            phone.label = "work";
        else if (hasType(property, "home"))
            phone.label = "home";
        contact.phones.push_back(phone);
    } else if (name == "EMAIL") {
        std::string email = text();
        stripScheme(email, "mailto:");
        if (!email.empty())
            contact.emails.push_back(email);
    } else if (name == "URL") {
        if (std::string url = text(); !url.empty())
            contact.urls.push_back(url);
    } else if (name == "BDAY") {
        if (!contact.birthday.empty() || !contact.birthdayText.empty())
            return;
        const std::string written = text();
        if (property.valueType != "text")
            contact.birthday = birthdayFromVCard(written);
        if (contact.birthday.empty())
            contact.birthdayText = written;
    } else if (name == "TITLE" || name == "ROLE") {
        if (std::string title = text(); !title.empty())
            contact.titles.push_back(title);
    } else if (name == "ADR") {
        std::vector<std::string> a = components(value, 7, version21, ", ");
        contact.addresses.push_back({a[0], a[1], a[2], a[3], a[4], a[5], a[6]});
    } else if (name == "NOTE") {
        std::string note = unescape(value, version21);
        if (note.empty())
            return;
        if (contact.note.empty()) {
            contact.note = std::move(note);
            return;
        }
        contact.note += '\n';
        contact.note += note;
    } else if (name == "NICKNAME") {
        // The first of a list of nicknames.
        if (contact.nickname.empty()) {
            const std::string names = components(value, 1, version21, "\n")[0];
            contact.nickname = names.substr(0, names.find('\n'));
        }
    } else if (name == "KIND") {
        contact.isOrganization = lowered(text()) == "org";
    } else if (name == "X-ABSHOWAS") {
        contact.isOrganization = uppered(text()) == "COMPANY";
    }
}

struct Reader {
    const std::function<void(Contact&)>& take;
    Contact current;
    int depth = 0;
    bool version21 = false;
    bool wholeFileUtf8 = false;

    void contentLine(std::string_view line)
    {
        Property property;
        if (!parseProperty(line, property))
            return;
        const bool boundary = property.name == "BEGIN" || property.name == "END";
        const std::string value = boundary ? uppered(trimmed(property.value)) : std::string();
        if (property.name == "BEGIN" && value == "VCARD") {
            if (depth++ == 0) {
                current = Contact();
                version21 = false;
            }
        } else if (property.name == "END" && value == "VCARD") {
            if (depth > 0 && --depth == 0)
                finish();
        } else if (depth == 1) {
            if (property.name == "VERSION")
                version21 = trimmed(property.value) == "2.1";
            else
                applyProperty(current, property, version21, wholeFileUtf8);
        }
    }

    void finish()
    {
        if (!current.hasStructuredName() && !current.organization.empty() &&
            (current.formattedName.empty() || current.formattedName == current.organization))
            current.isOrganization = true;
        take(current);
        current = Contact();
    }
};

// The head of a content line says quoted-printable or base64.  Only a line
// with parameters can say so.
void encodingOf(std::string_view line, bool& quotedPrintable, bool& base64)
{
    Property property;
    quotedPrintable = base64 = false;
    const size_t colon = valueStart(line);
    if (line.substr(0, colon).find(';') == std::string_view::npos)
        return;
    if (parseProperty(line, property)) {
        quotedPrintable = property.quotedPrintable;
        base64 = property.base64;
    }
}

}  // namespace

bool looksLikeVCard(std::string_view bytes)
{
    const std::string text = withoutByteOrderMark(bytes.substr(0, 4096));
    const size_t start = text.find_first_not_of(" \t\r\n");
    return start != std::string::npos && startsWithNoCase(std::string_view(text).substr(start), "BEGIN:VCARD");
}

std::vector<Contact> readVCards(std::string_view bytes)
{
    std::string storage;
    std::vector<Contact> contacts;
    readVCards(withoutByteOrderMark(bytes, storage), [&](Contact& contact) { contacts.push_back(std::move(contact)); });
    return contacts;
}

void readVCards(std::string_view text, const std::function<void(Contact&)>& take)
{
    Reader reader{take, Contact(), 0, false, isValidUtf8(text)};
    // The content line being gathered: a view of its one physical line, or
    // a copy once a continuation is joined to it.
    std::string_view pending;
    std::string joined;
    bool pendingQuotedPrintable = false, pendingBase64 = false;
    auto flush = [&] {
        if (!pending.empty())
            reader.contentLine(pending);
        pending = {};
    };
    auto append = [&](std::string_view more) {
        if (pending.data() == joined.data())
            joined.resize(pending.size());
        else
            joined.assign(pending);
        joined.append(more);
        pending = joined;
    };
    // Physical lines: ended by CR LF, LF or CR.
    size_t nextLineFeed = std::string_view::npos;
    for (size_t start = 0; start < text.size();) {
        // The line ends at the first CR or LF: the next LF (kept for the
        // lines a lone CR ends before it), then a CR before that.
        if (nextLineFeed < start || nextLineFeed == std::string_view::npos)
            nextLineFeed = std::min(text.find('\n', start), text.size());
        size_t end = std::min(text.substr(0, nextLineFeed).find('\r', start), nextLineFeed);
        const std::string_view line = text.substr(start, end - start);
        if (end < text.size() && text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n')
            ++end;
        start = end + 1;

        // A soft line break of quoted-printable goes first: a blank that
        // starts the next line is part of the text.
        if (!pending.empty() && pendingQuotedPrintable && pending.back() == '=') {
            pending.remove_suffix(1);
            append(line);
        } else if (!pending.empty() && !line.empty() && (line[0] == ' ' || line[0] == '\t')) {
            append(reader.version21 ? line : line.substr(1));
        } else if (!pending.empty() && pendingBase64 && reader.version21 && !line.empty() &&
                   line.find(':') == std::string_view::npos) {
            append(line);
        } else {
            flush();
            pending = line;
            encodingOf(pending, pendingQuotedPrintable, pendingBase64);
        }
    }
    flush();
    // A last card without its END.
    if (reader.depth > 0)
        reader.finish();
}
