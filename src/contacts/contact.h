// One person or firm as the exchange formats see it: the values of a vCard
// or of a CSV row, in UTF-8.  Export fills it from an entry, import makes an
// entry from it; the formats only read and write it.
#pragma once

#include <string>
#include <vector>

struct Contact {
    std::string formattedName;   // FN; the display name
    // N: its five parts.  Empty throughout for a firm.
    std::string family, given, additional, prefix, suffix;
    std::string organization;    // ORG, its parts joined by ", "
    bool isOrganization = false; // the card stands for a firm, not a person
    std::string nickname;        // NICKNAME; only import fills it

    struct Phone {
        std::string number;
        bool fax = false;
        std::string label;       // "mobile", "home", "work", "pager" or empty
    };
    std::vector<Phone> phones;
    std::vector<std::string> emails;
    std::vector<std::string> urls;

    struct Address {
        std::string poBox, extended, street, locality, region, postalCode, country;
    };
    std::vector<Address> addresses;

    // A birthday read as a date: "YYYY-MM-DD", or "--MM-DD" without the year.
    std::string birthday;
    // A birthday that is no date as written; only import fills it.
    std::string birthdayText;
    std::vector<std::string> titles;   // TITLE: profession or job
    std::string note;                  // NOTE: lines ended by "\n" between them

    bool hasStructuredName() const
    {
        return !family.empty() || !given.empty() || !additional.empty() || !prefix.empty() || !suffix.empty();
    }
};
