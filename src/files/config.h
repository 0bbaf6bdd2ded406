// User settings and the binary configuration file "O-LUMO.INF".
//
// The settings are process-wide variables read once at start-up and written
// back by "Save configuration" and, when autoSaveConfig is on, at shutdown.
// The file is a fixed sequence of little-endian fields behind the magic
// "O-Lumo "; a file that ends early fills the missing fields by per-field
// rules, so old and truncated files still load.
#pragma once

#include <cstdint>
#include <cstdio>

struct WindowRect {
    int32_t x, y, width, height;
};

// A Windows LOGFONTA record kept as its 60 raw bytes, so the core needs no
// Windows header; the Win32 layer copies it into a LOGFONTA.
inline constexpr int fontRecordSize = 60;
struct FontRecord {
    unsigned char bytes[fontRecordSize];
};

// Colours are Windows COLORREF values: red in the lowest byte.
constexpr uint32_t rgb(unsigned r, unsigned g, unsigned b)
{
    return r | (g << 8) | (b << 16);
}

inline constexpr int pathSize = 512;
inline constexpr int predefinitionCount = 10;
inline constexpr int predefinitionSlot = 56;
inline constexpr int predefinitionStored = 51;
inline constexpr int recentFileCount = 10;

extern WindowRect mainWindowRect;
extern WindowRect overviewRect;
extern WindowRect dataViewRect;
extern char currentFilePath[pathSize];
extern uint32_t dataViewBackColour;
extern uint32_t dataViewTextColour;
extern uint32_t dataViewHeadTextColour;
extern uint32_t dataViewHeadBackColour;
extern uint32_t overviewBackColour;
extern uint32_t overviewTextColour;
extern uint32_t linkColour;
extern char textPredefinitions[predefinitionCount][predefinitionSlot];
extern unsigned char windowArrangement;   // 0 free, 1 side by side, 2 one upon the other
extern bool autoSaveData;
extern bool autoSaveConfig;
extern FontRecord dataViewFont;
extern FontRecord overviewFont;
extern char nameSeparators[5][2];
extern char addressLineOrder[5][2];
extern bool addressEmptyLines[4];
extern bool swapFirstAndLastName;
extern char recentFiles[recentFileCount][pathSize];
extern unsigned char printLeftBorder;
extern unsigned char printTopBorder;

inline constexpr const char* configFileName = "O-LUMO.INF";

// Puts every setting to its value for a run without a configuration file;
// both fonts become systemFont.
void setDefaultSettings(const FontRecord& systemFont);

// Reads the settings from an open configuration file.  A file without the
// magic changes nothing; a short file fills the rest by the field rules.
// Every path read is NUL-terminated; one that fills its field is emptied.
void readConfiguration(std::FILE* file);

// Writes every field as the new content of the file at path, which is
// replaced only by a complete file.  Returns false, with the old file left
// as it was, when the new one cannot be written.
bool writeConfiguration(const char* path);
