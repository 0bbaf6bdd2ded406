#include "files/config.h"

#include <cstring>
#include <initializer_list>
#include <string>

#include "files/safe_write.h"

WindowRect mainWindowRect;
WindowRect overviewRect;
WindowRect dataViewRect;
char currentFilePath[pathSize];
uint32_t dataViewBackColour;
uint32_t dataViewTextColour;
uint32_t dataViewHeadTextColour;
uint32_t dataViewHeadBackColour;
uint32_t overviewBackColour;
uint32_t overviewTextColour;
uint32_t linkColour;
char textPredefinitions[predefinitionCount][predefinitionSlot];
unsigned char windowArrangement;
bool autoSaveData;
bool autoSaveConfig;
FontRecord dataViewFont;
FontRecord overviewFont;
char nameSeparators[5][2];
char addressLineOrder[5][2];
bool addressEmptyLines[4];
bool swapFirstAndLastName;
char recentFiles[recentFileCount][pathSize];
unsigned char printLeftBorder;
unsigned char printTopBorder;

namespace {

constexpr char magic[7] = {'O', '-', 'L', 'u', 'm', 'o', ' '};

constexpr const char* defaultPredefinitions[predefinitionCount] = {
    "PhoneNumber: ", "FaxNumber: ", "eMail: ", "http:// ", "Urgent: ",
    "Birthday: ",    "Profession: ", "Address: ", "Info: ", "ToDo: ",
};

// ---- reading -------------------------------------------------------------

// One byte, or -1 at the end of the file.
int readByte(std::FILE* file)
{
    return std::fgetc(file);
}

// A 32-bit little-endian value, taken only when all four bytes are there.
void readInt32(std::FILE* file, int32_t& value)
{
    unsigned char b[4];
    if (std::fread(b, 1, 4, file) == 4)
        value = static_cast<int32_t>(b[0] | (b[1] << 8) | (b[2] << 16) | (static_cast<uint32_t>(b[3]) << 24));
}

void readColour(std::FILE* file, uint32_t& colour)
{
    int32_t value = static_cast<int32_t>(colour);
    readInt32(file, value);
    colour = static_cast<uint32_t>(value);
}

// A path stored up to and including its NUL, or 512 bytes without one.
// The path is always left terminated: one that fills the whole field has
// no room for its NUL and cannot be opened, so it becomes empty.
void readPath(std::FILE* file, char* path)
{
    for (int i = 0; i < pathSize; ++i) {
        int c = readByte(file);
        if (c < 0) {
            if (i > 0)
                path[i] = 0;   // a file that ends before the field leaves it alone
            return;
        }
        path[i] = static_cast<char>(c);
        if (c == 0)
            return;
    }
    std::memset(path, 0, pathSize);
}

unsigned char byteOr(std::FILE* file, unsigned char fallback)
{
    int c = readByte(file);
    return c < 0 ? fallback : static_cast<unsigned char>(c);
}

// On unless a byte was read and it is 0.
bool onUnlessZero(std::FILE* file)
{
    int c = readByte(file);
    return !(c == 0);
}

// Off unless a byte was read and it is 1.
bool offUnlessOne(std::FILE* file)
{
    return readByte(file) == 1;
}

void setOneCharString(char* s, unsigned char c)
{
    s[0] = static_cast<char>(c);
    s[1] = 0;
}

// ---- writing -------------------------------------------------------------

// The file is put together in memory and written in one piece.
void writeBytes(std::string& out, const void* bytes, size_t length)
{
    out.append(static_cast<const char*>(bytes), length);
}

void writeInt32(std::string& out, uint32_t value)
{
    unsigned char b[4] = {static_cast<unsigned char>(value), static_cast<unsigned char>(value >> 8),
                          static_cast<unsigned char>(value >> 16), static_cast<unsigned char>(value >> 24)};
    writeBytes(out, b, 4);
}

void writeRect(std::string& out, const WindowRect& r)
{
    writeInt32(out, static_cast<uint32_t>(r.x));
    writeInt32(out, static_cast<uint32_t>(r.y));
    writeInt32(out, static_cast<uint32_t>(r.width));
    writeInt32(out, static_cast<uint32_t>(r.height));
}

void writePath(std::string& out, const char* path)
{
    size_t length = strnlen(path, pathSize);
    writeBytes(out, path, length < pathSize ? length + 1 : pathSize);
}

void writeByte(std::string& out, unsigned char c)
{
    out += static_cast<char>(c);
}

}  // namespace

void setDefaultSettings(const FontRecord& systemFont)
{
    mainWindowRect = {};
    overviewRect = {};
    dataViewRect = {};
    std::memset(currentFilePath, 0, sizeof currentFilePath);
    dataViewBackColour = rgb(255, 255, 255);
    dataViewTextColour = rgb(0, 0, 0);
    dataViewHeadTextColour = rgb(0, 0, 255);
    dataViewHeadBackColour = rgb(200, 200, 200);
    overviewBackColour = rgb(230, 230, 230);
    overviewTextColour = rgb(0, 0, 0);
    linkColour = rgb(255, 0, 0);
    std::memset(textPredefinitions, 0, sizeof textPredefinitions);
    for (int i = 0; i < predefinitionCount; ++i)
        std::strcpy(textPredefinitions[i], defaultPredefinitions[i]);
    windowArrangement = 1;
    autoSaveData = false;
    autoSaveConfig = true;
    dataViewFont = systemFont;
    overviewFont = systemFont;
    std::memset(nameSeparators, 0, sizeof nameSeparators);
    nameSeparators[0][0] = ',';
    std::memset(addressLineOrder, 0, sizeof addressLineOrder);
    addressLineOrder[0][0] = '1';
    addressLineOrder[1][0] = '2';
    addressLineOrder[2][0] = '3';
    addressEmptyLines[0] = false;
    addressEmptyLines[1] = true;
    addressEmptyLines[2] = false;
    addressEmptyLines[3] = false;
    swapFirstAndLastName = true;
    std::memset(recentFiles, 0, sizeof recentFiles);
    printLeftBorder = 0;
    printTopBorder = 0;
}

void readConfiguration(std::FILE* file)
{
    char head[sizeof magic];
    if (std::fread(head, 1, sizeof head, file) != sizeof head || std::memcmp(head, magic, sizeof magic) != 0)
        return;

    for (WindowRect* r : {&mainWindowRect, &overviewRect, &dataViewRect}) {
        readInt32(file, r->x);
        readInt32(file, r->y);
        readInt32(file, r->width);
        readInt32(file, r->height);
    }
    readPath(file, currentFilePath);
    for (uint32_t* colour : {&dataViewBackColour, &dataViewTextColour, &dataViewHeadTextColour,
                             &dataViewHeadBackColour, &overviewBackColour, &overviewTextColour, &linkColour})
        readColour(file, *colour);
    for (auto& predefinition : textPredefinitions)
        std::fread(predefinition, 1, predefinitionStored, file);

    windowArrangement = byteOr(file, 1);
    autoSaveData = onUnlessZero(file);
    autoSaveConfig = onUnlessZero(file);

    std::fread(dataViewFont.bytes, 1, fontRecordSize, file);
    std::fread(overviewFont.bytes, 1, fontRecordSize, file);

    setOneCharString(nameSeparators[0], byteOr(file, ','));
    for (int i = 1; i < 5; ++i)
        setOneCharString(nameSeparators[i], byteOr(file, 0));
    setOneCharString(addressLineOrder[0], byteOr(file, '1'));
    setOneCharString(addressLineOrder[1], byteOr(file, '2'));
    setOneCharString(addressLineOrder[2], byteOr(file, '3'));
    setOneCharString(addressLineOrder[3], byteOr(file, 0));
    setOneCharString(addressLineOrder[4], byteOr(file, 0));

    addressEmptyLines[0] = offUnlessOne(file);
    addressEmptyLines[1] = onUnlessZero(file);
    addressEmptyLines[2] = offUnlessOne(file);
    addressEmptyLines[3] = offUnlessOne(file);
    swapFirstAndLastName = onUnlessZero(file);

    for (auto& path : recentFiles)
        readPath(file, path);

    printLeftBorder = byteOr(file, 0);
    printTopBorder = byteOr(file, 0);
}

bool writeConfiguration(const char* path)
{
    std::string out;
    writeBytes(out, magic, sizeof magic);
    writeRect(out, mainWindowRect);
    writeRect(out, overviewRect);
    writeRect(out, dataViewRect);
    writePath(out, currentFilePath);
    for (uint32_t colour : {dataViewBackColour, dataViewTextColour, dataViewHeadTextColour, dataViewHeadBackColour,
                            overviewBackColour, overviewTextColour, linkColour})
        writeInt32(out, colour);
    for (const auto& predefinition : textPredefinitions)
        writeBytes(out, predefinition, predefinitionStored);
    writeByte(out, windowArrangement);
    writeByte(out, autoSaveData ? 1 : 0);
    writeByte(out, autoSaveConfig ? 1 : 0);
    writeBytes(out, dataViewFont.bytes, fontRecordSize);
    writeBytes(out, overviewFont.bytes, fontRecordSize);
    for (const auto& separator : nameSeparators)
        writeByte(out, static_cast<unsigned char>(separator[0]));
    for (const auto& order : addressLineOrder)
        writeByte(out, static_cast<unsigned char>(order[0]));
    for (bool on : addressEmptyLines)
        writeByte(out, on ? 1 : 0);
    writeByte(out, swapFirstAndLastName ? 1 : 0);
    for (const auto& recent : recentFiles)
        writePath(out, recent);
    writeByte(out, printLeftBorder);
    writeByte(out, printTopBorder);
    return writeFileSafely(path, out.data(), out.size());
}
