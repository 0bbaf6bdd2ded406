#include "contacts/name_reading.h"

#include <array>
#include <vector>

#include "contacts/utf8.h"

namespace {

using Text = std::u32string;
using View = std::u32string_view;

Text decode(std::string_view utf8)
{
    Text out;
    for (size_t pos = 0; pos < utf8.size();) {
        char32_t c = nextUtf8(utf8, pos);
        out += c == invalidUtf8 ? U'\uFFFD' : c;
    }
    return out;
}

std::string encode(const Text& text)
{
    std::string out;
    for (char32_t c : text)
        appendUtf8(out, c);
    return out;
}

bool isBlank(char32_t c) { return c == ' ' || c == '\t' || c == 0xA0; }
bool isDigit(char32_t c) { return c >= '0' && c <= '9'; }

// Letters of every script, roughly: ASCII letters and everything from
// U+00C0 on except the multiplication and division signs, the blocks of
// punctuation and symbols, and the control pictures.
bool isLetter(char32_t c)
{
    if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'))
        return true;
    if (c < 0xC0 || c == 0xD7 || c == 0xF7)
        return false;
    if (c >= 0x2000 && c <= 0x2BFF)
        return false;
    if ((c >= 0x3000 && c <= 0x303F) || (c >= 0xFE00 && c <= 0xFFFF))
        return false;
    return c != invalidUtf8;
}

char32_t lower(char32_t c)
{
    if ((c >= 'A' && c <= 'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7))
        return c + 32;
    return c;
}

Text lowered(const Text& text)
{
    Text out = text;
    for (char32_t& c : out)
        c = lower(c);
    return out;
}

View trimmedView(View text)
{
    while (!text.empty() && isBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

// The words of text, as views into it.
std::vector<View> words(View text)
{
    std::vector<View> out;
    size_t start = 0;
    for (size_t i = 0; i <= text.size(); ++i) {
        if (i == text.size() || isBlank(text[i])) {
            if (i > start)
                out.push_back(text.substr(start, i - start));
            start = i + 1;
        }
    }
    return out;
}

template <class Part>
Text joined(const std::vector<Part>& parts, size_t from = 0)
{
    Text out;
    for (size_t i = from; i < parts.size(); ++i) {
        if (parts[i].empty())
            continue;
        if (!out.empty())
            out += U' ';
        out += parts[i];
    }
    return out;
}

// Words that make a heading the name of a firm, lower case; compared with
// the word's trailing dots and colons taken off.
constexpr View firmWords[] = {
    U"gmbh", U"mbh", U"ag", U"kg", U"ohg", U"gbr", U"ug", U"e.v", U"ev", U"se", U"ltd", U"limited",
    U"inc", U"llc", U"corp", U"co", U"company", U"plc", U"sa", U"sarl", U"bv", U"nv", U"spa", U"srl",
    U"praxis", U"kanzlei", U"apotheke", U"autohaus", U"weingut", U"elektro", U"salon", U"hotel",
    U"restaurant", U"gasthaus", U"gasthof", U"pizzeria", U"café", U"cafe", U"bank", U"sparkasse",
    U"volksbank", U"verlag", U"firma", U"klinik", U"klinikum", U"krankenhaus", U"hospital",
    U"office", U"shop", U"store", U"service", U"verein", U"club", U"schule", U"kindergarten",
    U"universität", U"university", U"institut", U"institute", U"amt", U"stadtwerke",
    U"gemeinde", U"rathaus", U"polizei", U"feuerwehr", U"bibliothek", U"museum", U"theater",
    U"kino", U"galerie", U"studio", U"agentur", U"zentrale", U"hotline", U"support", U"taxi",
    U"notar", U"rechtsanwalt", U"rechtsanwälte", U"steuerberater", U"arzt", U"zahnarzt",
    U"tierarzt", U"optik", U"optiker", U"akustik", U"immobilien", U"team", U"group", U"gruppe",
    U"ärztehaus",
};
// Endings and beginnings of German trade words: Bäckerei, Arztpraxis,
// Steuerbüro, Schlüsseldienst, Buchhandlung, Friseursalon ...
constexpr View firmEndings[] = {
    U"erei", U"praxis", U"büro", U"dienst", U"handlung", U"werkstatt", U"verwaltung",
    U"versicherung", U"gmbh", U"betrieb", U"zentrum", U"center",
};
constexpr View firmBeginnings[] = {U"friseur", U"reise", U"fahrschule"};

constexpr View titleWords[] = {
    U"dr", U"prof", U"dipl.-ing", U"dr.-ing", U"ing", U"mag", U"med", U"herr", U"frau",
    U"mr", U"mrs", U"ms", U"miss", U"sir", U"dame",
};

Text withoutTrailing(Text word, std::u32string_view characters)
{
    while (!word.empty() && characters.find(word.back()) != std::u32string_view::npos)
        word.pop_back();
    return word;
}

View withoutTrailing(View word, std::u32string_view characters)
{
    while (!word.empty() && characters.find(word.back()) != std::u32string_view::npos)
        word.remove_suffix(1);
    return word;
}

// word, in any case, is the lower-case text.
bool sameLowered(View word, View text)
{
    if (word.size() != text.size())
        return false;
    for (size_t i = 0; i < word.size(); ++i)
        if (lower(word[i]) != text[i])
            return false;
    return true;
}

bool isFirmWord(View word)
{
    const View w = withoutTrailing(word, U".:,");
    for (View firm : firmWords)
        if (sameLowered(w, firm))
            return true;
    for (View ending : firmEndings)
        if (w.size() > ending.size() && sameLowered(w.substr(w.size() - ending.size()), ending))
            return true;
    for (View beginning : firmBeginnings)
        if (w.size() >= beginning.size() && sameLowered(w.substr(0, beginning.size()), beginning))
            return true;
    return false;
}

bool isTitleWord(View word)
{
    const View w = withoutTrailing(word, U".");
    for (View title : titleWords)
        if (sameLowered(w, title))
            return true;
    return false;
}

bool isNameWord(View word)
{
    bool letter = false;
    for (char32_t c : word) {
        if (isLetter(c))
            letter = true;
        else if (c != '-' && c != '\'' && c != 0x2019 && c != '.' && c != '(' && c != ')')
            return false;
    }
    return letter;
}

bool looksLikeFirm(const Text& name)
{
    for (char32_t c : name)
        if (isDigit(c) || c == '@' || c == '&' || c == '+')
            return true;
    for (View word : words(name))
        if (isFirmWord(word))
            return true;
    return false;
}

bool isUpper(char32_t c) { return (c >= 'A' && c <= 'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7); }
bool isLower(char32_t c) { return (c >= 'a' && c <= 'z') || (c >= 0xDF && c <= 0xFF && c != 0xF7); }

// Particles that stand in small letters inside names.
constexpr View nameParticles[] = {
    U"van", U"von", U"vom", U"de", U"da", U"das", U"do", U"dos", U"del", U"della", U"der", U"den", U"di",
    U"du", U"la", U"le", U"zu", U"ten", U"ter", U"op", U"y", U"bin", U"ibn", U"al", U"el", U"und",
};

// A word in small letters that is no particle, among capitalised words:
// "Ärztehaus am Markt", "Gasthaus zur Post" name places, not people.
bool hasLowerCaseWord(const std::vector<View>& list, size_t first)
{
    bool capitalised = false;
    for (size_t i = first; i < list.size(); ++i)
        capitalised = capitalised || isUpper(list[i][0]);
    if (!capitalised)
        return false;
    for (size_t i = first; i < list.size(); ++i) {
        if (!isLower(list[i][0]))
            continue;
        bool particle = false;
        for (View p : nameParticles)
            particle = particle || list[i] == p;
        if (!particle)
            return true;
    }
    return false;
}

// The words of one name part with its leading titles moved to prefix;
// false when a word is not a name word or there are more than maxWords.
bool takeNamePart(View part, size_t maxWords, std::vector<Text>& prefix, Text& rest)
{
    std::vector<View> list = words(part);
    size_t first = 0;
    while (first < list.size() && isTitleWord(list[first]))
        prefix.push_back(Text(list[first++]));
    if (list.size() - first > maxWords)
        return false;
    for (size_t i = first; i < list.size(); ++i)
        if (!isNameWord(list[i]))
            return false;
    rest = joined(list, first);
    return true;
}

bool isPhoneCharacter(char32_t c)
{
    return isDigit(c) || c == ' ' || c == '+' || c == '-' || c == '/' || c == '(' || c == ')' || c == '.';
}

// Takes a trailing telephone number off heading; returns it, or empty.
Text takePhone(Text& heading)
{
    size_t start = heading.size();
    while (start > 0 && isPhoneCharacter(heading[start - 1]))
        --start;
    while (start < heading.size() && !isDigit(heading[start]) && heading[start] != '+' && heading[start] != '(')
        ++start;
    int digits = 0;
    for (size_t i = start; i < heading.size(); ++i)
        digits += isDigit(heading[i]) ? 1 : 0;
    if (digits < 5 || start == 0)
        return {};
    // The number stands apart: a separator or a blank before it.
    const char32_t before = heading[start - 1];
    if (before != ',' && before != ';' && before != ':' && !isBlank(before))
        return {};
    Text rest = withoutTrailing(heading.substr(0, start), U" \t,;:-/");
    std::vector<View> restWords = words(rest);
    if (!restWords.empty()) {
        const Text last = withoutTrailing(lowered(Text(restWords.back())), U".:");
        if (last == U"tel" || last == U"phone" || last == U"fon" || last == U"telefon")
            rest = withoutTrailing(rest.substr(0, rest.size() - restWords.back().size()), U" \t,;:-/");
    }
    if (trimmedView(rest).empty())
        return {};
    Text phone(trimmedView(View(heading).substr(start)));
    heading = trimmedView(rest);
    return phone;
}

}  // namespace

NameReading readHeading(std::string_view headingUtf8)
{
    NameReading reading;
    // A heading this long is no name and carries no number worth taking
    // off; it is not widened to 32 bits either.
    if (headingUtf8.size() > longestName) {
        auto blankAt = [&](size_t i) {
            if (headingUtf8[i] == ' ' || headingUtf8[i] == '\t')
                return 1;
            return headingUtf8.substr(i, 2) == "\xC2\xA0" ? 2 : 0;
        };
        while (!headingUtf8.empty() && blankAt(0))
            headingUtf8.remove_prefix(static_cast<size_t>(blankAt(0)));
        while (!headingUtf8.empty()) {
            const size_t last = headingUtf8.size() - 1;
            const size_t length = headingUtf8[last] == ' ' || headingUtf8[last] == '\t' ? 1
                                  : last > 0 && headingUtf8.substr(last - 1) == "\xC2\xA0" ? 2 : 0;
            if (length == 0)
                break;
            headingUtf8.remove_suffix(length);
        }
        reading.formattedName = std::string(headingUtf8);
        return reading;
    }
    Text name = decode(headingUtf8);
    const View kept = trimmedView(name);
    name.erase(static_cast<size_t>(kept.data() - name.data()) + kept.size());
    name.erase(0, static_cast<size_t>(kept.data() - name.data()));
    reading.phone = encode(takePhone(name));
    reading.formattedName = encode(name);
    if (name.empty() || looksLikeFirm(name))
        return reading;

    std::vector<Text> prefix;
    Text family, given;
    const size_t comma = name.find(U',');
    if (comma != Text::npos) {
        // Further parts (a place, a note) are no part of the name.
        const size_t secondComma = name.find(U',', comma + 1);
        const View familyPart = trimmedView(View(name).substr(0, comma));
        const View givenPart =
            trimmedView(View(name).substr(comma + 1, secondComma == Text::npos ? Text::npos : secondComma - comma - 1));
        if (familyPart.empty())
            return reading;
        if (!takeNamePart(familyPart, 4, prefix, family) || !takeNamePart(givenPart, 4, prefix, given))
            return reading;
    } else {
        std::vector<View> list = words(name);
        size_t first = 0;
        while (first < list.size() && isTitleWord(list[first]))
            prefix.push_back(Text(list[first++]));
        if (list.size() - first < 1 || list.size() - first > 3)
            return reading;
        for (size_t i = first; i < list.size(); ++i)
            if (!isNameWord(list[i]))
                return reading;
        if (hasLowerCaseWord(list, first))
            return reading;
        family = Text(list[first]);
        given = joined(list, first + 1);
    }
    if (family.empty())
        return reading;
    reading.person = true;
    reading.family = encode(family);
    reading.given = encode(given);
    reading.prefix = encode(joined(prefix));
    reading.formattedName = encode(joined(std::vector<Text>{joined(prefix), given, family}));
    return reading;
}
