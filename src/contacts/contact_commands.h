// File > Import contacts... and File > Export contacts...: the contacts of
// a vCard or CSV file added to the store as entries, and the store's
// entries (or the marked ones) written out as vCards or CSV.
#pragma once

#include <cstdint>
#include <string>

#include "contacts/book_exchange.h"

// The file type last chosen in the export dialog, counted from 1 as the
// dialog lists them: vCard 3.0, vCard 4.0, CSV.
extern int exportFileType;
extern char importContactsPath[512];
extern char exportContactsPath[512];

// The format of an export to path: a name ending in ".csv" is CSV whatever
// the type, otherwise the type chosen decides.
ExportFormat exportFormatFor(const char* path, int fileType);

// What the user is told after an import or an export.
std::string importedMessage(const ImportedBook& book);
std::string exportedMessage(int32_t entries);

// One Undo takes every imported entry out again.  A file that cannot be
// read, holds no contact or does not fit in memory changes nothing.
void importContactsFile();
// The marked block of the Overview, or else the whole book; the store is
// not touched.
void exportContactsFile();
