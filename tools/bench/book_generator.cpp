#include "book_generator.h"

#include <algorithm>
#include <cstddef>
#include <numeric>
#include <vector>

#include "find/fold.h"

namespace {

// splitmix64: small, fast and the same everywhere.
struct Random {
    uint64_t state;

    uint64_t next()
    {
        uint64_t z = (state += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }

    // 0 <= result < n
    uint32_t below(uint32_t n) { return static_cast<uint32_t>(((next() >> 32) * n) >> 32); }

    bool percent(int p) { return below(100) < static_cast<uint32_t>(p); }

    // Skewed towards the front of a table, so the first names in it repeat
    // much more often than the last (as Müller and Schmidt do in a real book).
    uint32_t skewed(uint32_t n)
    {
        double u = static_cast<double>(next() >> 11) * (1.0 / 9007199254740992.0);
        return std::min(n - 1, static_cast<uint32_t>(u * u * n));
    }
};

// The tables below are written in UTF-8 for legibility and turned into
// Windows-1252 once; every character in them lies in U+0000..U+00FF.
std::string ansi(const char* utf8)
{
    std::string out;
    for (const unsigned char* p = reinterpret_cast<const unsigned char*>(utf8); *p;) {
        if (*p < 0x80) {
            out += static_cast<char>(*p++);
        } else {
            out += static_cast<char>(((p[0] & 0x1F) << 6) | (p[1] & 0x3F));
            p += 2;
        }
    }
    return out;
}

std::vector<std::string> ansiTable(std::initializer_list<const char*> items)
{
    std::vector<std::string> table;
    for (const char* item : items)
        table.push_back(ansi(item));
    return table;
}

struct Place {
    std::string postcode, city, areaCode;
};

struct Tables {
    std::vector<std::string> surnames = ansiTable({
        "Müller", "Schmidt", "Schneider", "Fischer", "Weber", "Meyer", "Wagner", "Becker",
        "Schulz", "Hoffmann", "Schäfer", "Koch", "Bauer", "Richter", "Klein", "Wolf",
        "Schröder", "Neumann", "Schwarz", "Zimmermann", "Braun", "Krüger", "Hofmann",
        "Hartmann", "Lange", "Schmitt", "Werner", "Schmitz", "Krause", "Meier", "Lehmann",
        "Köhler", "Herrmann", "König", "Walter", "Mayer", "Huber", "Kaiser", "Fuchs",
        "Peters", "Scholz", "Möller", "Weiß", "Jung", "Hahn", "Schubert", "Vogel",
        "Friedrich", "Keller", "Günther", "Frank", "Berger", "Winkler", "Roth", "Beck",
        "Lorenz", "Baumann", "Franke", "Albrecht", "Böhm", "Winter", "Kraus", "Krämer",
        "Vogt", "Jäger", "Otto", "Sommer", "Groß", "Seidel", "Brandt", "Haas", "Graf",
        "Dietrich", "Ziegler", "Kuhn", "Kühn", "Pohl", "Engel", "Horn", "Busch", "Voigt",
        "Sauer", "Pfeiffer", "Strauß", "Nußbaum", "Meißner", "Preuß", "Dörr", "Fröhlich",
        "Özdemir", "Öztürk", "Ünal", "Ärmel", "Überall", "Ölschläger", "Élan", "da Silva",
        "van der Berg", "de Vries", "Nowak", "Kowalski", "Rossi", "O'Brien",
    });
    std::vector<std::string> firstNames = ansiTable({
        "Hans", "Jürgen", "Jörg", "Björn", "Günter", "Käthe", "Ursula", "Sören",
        "Maximilian", "Anna", "Lena", "Uwe", "Petra", "Sabine", "Michael", "Thomas",
        "Andreas", "Stefan", "Claudia", "Monika", "Renate", "Helmut", "Gerd", "Dörte",
        "Bärbel", "Jörn", "Lutz", "Klaus", "Heike", "Birgit", "Ralf", "Tobias", "Lukas",
        "Jonas", "Leonie", "Mia", "Zoë", "André", "René", "Hannelore", "Götz", "Märta",
    });
    std::vector<std::string> trades = ansiTable({
        "Bäckerei", "Autohaus", "Praxis Dr.", "Elektro", "Gärtnerei", "Steuerbüro",
        "Weingut", "Metzgerei", "Friseursalon", "Schlüsseldienst", "Buchhandlung",
    });
    std::vector<std::string> streets = ansiTable({
        "Hauptstraße", "Bahnhofstraße", "Schulstraße", "Gartenstraße", "Dorfstraße",
        "Lindenstraße", "Mühlweg", "Kirchplatz", "Am Bürgerpark", "Königsallee",
        "Gänsemarkt", "Jägerstraße", "Rosenweg", "Schloßallee", "Goethestraße",
        "Schillerstraße", "Uhlandstraße", "Marktplatz", "Bergstraße", "Birkenweg",
        "Lößweg", "Fürstenwall", "Große Brüdergasse", "Rüdesheimer Straße",
    });
    std::vector<Place> places = {
        {"70173", ansi("Stuttgart"), "0711"},      {"80331", ansi("München"), "089"},
        {"50667", ansi("Köln"), "0221"},           {"40213", ansi("Düsseldorf"), "0211"},
        {"90403", ansi("Nürnberg"), "0911"},       {"23552", ansi("Lübeck"), "0451"},
        {"97070", ansi("Würzburg"), "0931"},       {"37073", ansi("Göttingen"), "0551"},
        {"10115", ansi("Berlin"), "030"},          {"20095", ansi("Hamburg"), "040"},
        {"60311", ansi("Frankfurt am Main"), "069"}, {"01067", ansi("Dresden"), "0351"},
        {"04109", ansi("Leipzig"), "0341"},        {"72070", ansi("Tübingen"), "07071"},
        {"66111", ansi("Saarbrücken"), "0681"},    {"79098", ansi("Freiburg im Breisgau"), "0761"},
        {"CH-8001", ansi("Zürich"), "0041 44"},    {"A-1010", ansi("Wien"), "0043 1"},
    };
    std::vector<std::string> mailDomains = {"web.de", "gmx.de", "t-online.de", "posteo.de", "mailbox.org", "example.org"};
    std::vector<std::string> notes = ansiTable({
        "Hochzeitstag", "Namenstag", "Jubiläum", "Kündigung zum",
    });
};

std::string lowerCase1252(std::string text)
{
    for (char& c : text) {
        unsigned char b = static_cast<unsigned char>(c);
        if ((b >= 'A' && b <= 'Z') || (b >= 0xC0 && b <= 0xDE && b != 0xD7))
            c = static_cast<char>(b + 32);
    }
    return text;
}

std::string upperCase(std::string text)
{
    for (char& c : text)
        c = static_cast<char>(upperCase1252[static_cast<unsigned char>(c)]);
    return text;
}

// Umlauts and sharp s spelled out: "Müller" becomes "Mueller".
std::string spelledOut(const std::string& text)
{
    std::string out;
    for (char c : text) {
        switch (static_cast<unsigned char>(c)) {
        case 228: out += "ae"; break;
        case 246: out += "oe"; break;
        case 252: out += "ue"; break;
        case 196: out += "Ae"; break;
        case 214: out += "Oe"; break;
        case 220: out += "Ue"; break;
        case 223: out += "ss"; break;
        default: out += c;
        }
    }
    return out;
}

// Mail addresses and web names: spelled out, lower case, ASCII only.
std::string asciiName(const std::string& text)
{
    std::string out;
    for (char c : spelledOut(text)) {
        unsigned char b = static_cast<unsigned char>(c);
        if (b >= 'A' && b <= 'Z')
            out += static_cast<char>(b - 'A' + 'a');
        else if (b == 201 || b == 233 || b == 235)   // É é ë
            out += 'e';
        else if (b == ' ')
            out += '-';
        else if (b < 128 && b != '\'')
            out += c;
    }
    return out;
}

std::string digits(Random& random, int count)
{
    std::string out;
    out += static_cast<char>('1' + random.below(9));
    for (int i = 1; i < count; ++i)
        out += static_cast<char>('0' + random.below(10));
    return out;
}

std::string twoDigits(uint32_t n)
{
    return std::string{static_cast<char>('0' + n / 10), static_cast<char>('0' + n % 10)};
}

std::string date(Random& random, int fromYear, int years)
{
    uint32_t day = 1 + random.below(28);
    uint32_t month = 1 + random.below(12);
    return twoDigits(day) + "." + twoDigits(month) + "." + std::to_string(fromYear + static_cast<int>(random.below(static_cast<uint32_t>(years))));
}

template <class T>
const T& pick(Random& random, const std::vector<T>& table)
{
    return table[random.below(static_cast<uint32_t>(table.size()))];
}

std::string awkwardLine(Random& random);
std::string exchangeHeading(Random& random, const Tables& t, const std::string& surname, const std::string& first);

std::string makeEntry(Random& random, const Tables& t, bool exchangeLines)
{
    const std::string crlf = "\r\n";
    std::string surname = t.surnames[random.skewed(static_cast<uint32_t>(t.surnames.size()))];
    std::string first = t.firstNames[random.skewed(static_cast<uint32_t>(t.firstNames.size()))];
    const Place& place = t.places[random.skewed(static_cast<uint32_t>(t.places.size()))];
    std::string localNumber = digits(random, 4 + static_cast<int>(random.below(4)));

    // Spelling and case variants of the same name, as they creep into a
    // book typed over the years.
    std::string shownSurname = surname;
    uint32_t variant = random.below(100);
    if (variant < 3)
        shownSurname = upperCase(surname);
    else if (variant < 5)
        shownSurname = lowerCase1252(surname);
    else if (variant < 7)
        shownSurname = spelledOut(surname);

    std::string heading;
    uint32_t form = random.below(100);
    if (form < 65)
        heading = shownSurname + ", " + first + ", " + place.areaCode + " " + localNumber.substr(0, 4);
    else if (form < 87)
        heading = shownSurname + ", " + first;
    else if (form < 92)
        heading = shownSurname + ", " + first + " und " + pick(random, t.firstNames);
    else
        heading = pick(random, t.trades) + " " + shownSurname;

    if (exchangeLines && random.percent(40))
        heading = exchangeHeading(random, t, shownSurname, first);

    std::string entry = heading + crlf;
    entry += pick(random, t.streets) + " " + std::to_string(1 + random.below(180));
    if (random.percent(10))
        entry += static_cast<char>('a' + random.below(4));
    entry += crlf;
    entry += place.postcode + " " + place.city + crlf;

    // 0 to 5 of the optional lines, always in the same order.
    const int optionalKinds = 7;
    int wanted = static_cast<int>(random.below(6));
    std::string mailName = asciiName(first) + "." + asciiName(surname);
    for (int kind = 0; kind < optionalKinds && wanted > 0; ++kind) {
        // Selection sampling: each remaining kind taken with probability wanted/left.
        if (random.below(static_cast<uint32_t>(optionalKinds - kind)) >= static_cast<uint32_t>(wanted))
            continue;
        --wanted;
        switch (kind) {
        case 0: entry += "Tel. " + place.areaCode + " " + localNumber; break;
        case 1: entry += "Fax " + place.areaCode + " " + localNumber.substr(0, localNumber.size() - 1) + "9"; break;
        case 2: entry += "Mobil 01" + std::to_string(51 + random.below(29)) + " " + digits(random, 7); break;
        case 3: entry += "E-Mail: " + mailName + "@" + pick(random, t.mailDomains); break;
        case 4: entry += "Web: \"https://www." + asciiName(surname) + "-" + asciiName(place.city) + ".de\""; break;
        case 5: entry += ansi("Geb. ") + date(random, 1930, 80); break;
        case 6: entry += pick(random, t.notes) + " " + date(random, 1980, 45); break;
        }
        entry += crlf;
    }
    if (exchangeLines) {
        // The program's own pre-definitions, as typed with Shift+F1 and on.
        const int count = static_cast<int>(random.below(5));
        for (int i = 0; i < count; ++i) {
            switch (random.below(8)) {
            case 0: entry += "PhoneNumber: " + place.areaCode + " " + digits(random, 6); break;
            case 1: entry += "PhoneNumber: 01" + std::to_string(51 + random.below(29)) + " " + digits(random, 7) + " (mobile)"; break;
            case 2: entry += "FaxNumber: " + place.areaCode + " " + digits(random, 6); break;
            case 3: entry += "eMail: " + mailName + "@" + pick(random, t.mailDomains); break;
            case 4: entry += "http:// www." + asciiName(surname) + ".example.org/" + digits(random, 3); break;
            case 5: entry += "Birthday: " + (random.percent(80) ? date(random, 1930, 80) : twoDigits(1 + random.below(28)) + "." + twoDigits(1 + random.below(12)) + "."); break;
            case 6: entry += ansi("Profession: Bäckermeisterin; Konditorin, \"Café\""); break;
            case 7: entry += "ToDo: call back"; break;
            }
            entry += crlf;
        }
        const int awkward = static_cast<int>(random.below(3));
        for (int i = 0; i < awkward; ++i)
            entry += awkwardLine(random) + crlf;
    }
    entry += crlf;
    return entry;
}

std::string exchangeHeading(Random& random, const Tables& t, const std::string& surname, const std::string& first)
{
    switch (random.below(6)) {
    case 0: return surname + " " + first;
    case 1: return surname + " " + first + " " + pick(random, t.firstNames);
    case 2: return "Dr. " + surname + ", " + first;
    case 3: return surname + ", Prof. " + first + ", " + digits(random, 3) + "/" + digits(random, 5);
    case 4: return surname + ", " + first + ", " + pick(random, t.places).city;
    default: return surname + " GmbH & Co. KG";
    }
}

// A line that an exchange format must take care with.
std::string awkwardLine(Random& random)
{
    std::string line;
    switch (random.below(7)) {
    case 0: line = "Note; with, commas; semicolons\\ and a backslash\\n: \"quoted\""; break;
    case 1: line = "   leading and trailing blanks   "; break;
    case 2: line = " "; break;
    case 3:   // a control byte inside, as old files have them
        line = "Tab\there, bell\x07 and \x01 start";
        break;
    case 4: {   // a long line of two- and three-byte UTF-8 characters
        const std::string mix = ansi("äöüÄÖÜßÉéÇçØøÅå") + "\x80\x97\x85\x91\x92\x93\x95";
        for (int i = 0; i < 40 + static_cast<int>(random.below(120)); ++i)
            line += mix[random.below(static_cast<uint32_t>(mix.size()))];
        break;
    }
    case 5:   // every byte the address file keeps, 32 to 255
        for (int b = 32; b < 256; ++b)
            if (b != 132 && b != 148 && b != 129 && b != 142 && b != 153 && b != 154 && b != 158 && b != 225)
                line += static_cast<char>(b);
        break;
    default: line = "Web: \"https://example.org/a,b;c?d=1&e=2\" and \"mailto:x@example.org\""; break;
    }
    return line;
}

// The heading as the sort compares it: up to the first byte below 32, at
// most 255 bytes, folded.  std::string compares its bytes as unsigned.
std::string sortKey(const std::string& entry)
{
    std::string key;
    for (size_t i = 0; i < entry.size() && i < 255 && static_cast<unsigned char>(entry[i]) >= 32; ++i)
        key += static_cast<char>(sortFold1252[static_cast<unsigned char>(entry[i])]);
    return key;
}

}  // namespace

Book generateBook(const BookRecipe& recipe)
{
    Random random{recipe.seed * 0x2545F4914F6CDD1Dull + 1};
    const Tables tables;
    const size_t count = static_cast<size_t>(std::max(recipe.entries, 0));

    std::vector<std::string> entries;
    entries.reserve(count);
    for (size_t i = 0; i < count; ++i)
        entries.push_back(makeEntry(random, tables, recipe.exchangeLines));

    std::vector<size_t> order(count);
    std::iota(order.begin(), order.end(), size_t{0});
    if (recipe.order == BookOrder::Sorted) {
        std::vector<std::string> keys;
        keys.reserve(count);
        for (const std::string& entry : entries)
            keys.push_back(sortKey(entry));
        std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) { return keys[a] < keys[b]; });
    } else {
        for (size_t i = count; i > 1; --i)
            std::swap(order[i - 1], order[random.below(static_cast<uint32_t>(i))]);
    }

    Book book;
    size_t bytes = 0;
    for (const std::string& entry : entries)
        bytes += entry.size();
    book.text.reserve(bytes + bytes * static_cast<size_t>(recipe.doublePercent) / 100 + 64);
    for (size_t i : order) {
        book.text += entries[i];
        ++book.entryCount;
        if (recipe.doublePercent > 0 && random.percent(recipe.doublePercent)) {
            book.text += entries[i];
            ++book.entryCount;
            ++book.doubles;
        }
    }
    return book;
}
