// The commands of the File menu: New, Open, Open recent, Save, Save as,
// Save block and Add, with the backup copy written before every save.
#pragma once

#include <cstdint>
#include <string>

extern bool saveLocked;   // set by the shutdown after its final save
extern char addPath[512];
extern char entryBlockPath[512];
extern char textBlockPath[512];

void newFile();
void openFile();
void openRecentFile(int slot);
enum class SaveResult { Saved, NotSaved, Failed };

// Save (askName false) or Save as (askName true) of the whole store.
// NotSaved: the user cancelled; Failed: a message was shown and every file
// is as it was.
SaveResult saveFile(bool askName);
// Save or Save as, offering to save only the marked block when there is one.
void saveOrSaveBlock(bool askName);
void saveBlock(bool entries);
// Add another address file to the store; the caller takes the undo
// snapshot first.
void addFile();

// Where a write of byteCount bytes to path would not fit: shows the
// drive-full message and returns false.
bool checkFreeSpace(const char* path, int64_t byteCount);

// The backup name: the path with its last three characters made "DUP"; a
// path that ends in "DUP" already (in any case) gets ".DUP" added.
std::string backupPath(const char* path);

// The file dialog's initial name: the remembered path, or the current
// directory with a wildcard for the dialog's kind of file ("*.ADR").
void initialDialogName(char* out, const char* remembered, const char* wildcard);
// After the store was replaced or extended: nothing marked, the Data view
// lays its entry out again, and the Overview takes the keys.
void resetViewsAfterLoad();
