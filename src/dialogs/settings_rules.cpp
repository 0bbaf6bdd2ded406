#include "dialogs/settings_rules.h"

#include <cstring>

#include "files/address_file.h"
#include "files/config.h"

namespace {

void copyPassword(char* field20, const char* typed)
{
    std::memset(field20, 0, 20);
    std::strncpy(field20, typed, 19);
}

}  // namespace

void normaliseGeneralConfig()
{
    bool anySeparator = false;
    for (const auto& separator : nameSeparators)
        anySeparator = anySeparator || separator[0] != 0;
    if (!anySeparator) {
        nameSeparators[0][0] = ',';
        nameSeparators[0][1] = 0;
    }
    for (auto& order : addressLineOrder)
        if (order[0] == '0')
            order[0] = 0;
}

NewPasswordResult setNewPassword(const char* typed, const char* repeated)
{
    char repetition[20];
    copyPassword(currentPassword, typed);
    copyPassword(repetition, repeated);
    if (std::strcmp(currentPassword, repetition) == 0 && std::strlen(currentPassword) >= minimumPasswordLength)
        return NewPasswordResult::Accepted;
    bool bothEmpty = currentPassword[0] == 0 && repetition[0] == 0;
    currentPassword[0] = 0;
    return bothEmpty ? NewPasswordResult::NotProtected : NewPasswordResult::Mistyped;
}

bool acceptTypedPassword(char* field20, const char* typed)
{
    copyPassword(field20, typed);
    if (std::strlen(field20) >= minimumPasswordLength)
        return true;
    field20[0] = 0;
    return false;
}

void makeVersionLine(char* out32)
{
    std::memset(out32, 0, 32);
    std::strcpy(out32, "ORDANE-Lumo V1.00\xDF (02.10.1999)");
    std::memcpy(out32 + 13, "1.12 ", 5);
    std::memcpy(out32 + 20, "03.02.2003", 10);
}
