// The address store: every entry of the open address file in one text
// buffer, and the entry index of byte offsets over it.
//
// An entry is a run of CR LF terminated lines closed by an empty line, so
// CR LF CR LF ends every entry.  Text behind the last separator is kept and
// saved but is not an entry.  Offsets rather than pointers are stored so the
// index survives the buffer moving on reallocation.
#pragma once

#include <cstddef>
#include <cstdint>

extern unsigned char* textBuffer;
extern int32_t bufferCapacity;
extern int32_t usedBytes;
extern int32_t* entryIndex;
extern int32_t indexCapacity;
extern int32_t entryCount;

extern bool dataModified;
extern bool storeUnavailable;
extern bool countDisplaySuppressed;

// "XXXXXXXX Entries": the count right-aligned in eight places.
extern char entryCountText[17];

// Headroom kept by every allocation: text length + 2000 bytes, count + 100
// slots (ensureStoreCapacity gives a large book an eighth more instead).
inline constexpr int32_t bufferHeadroom = 2000;
inline constexpr int32_t indexHeadroom = 100;

// Every block of the store (text buffer, entry index) is grown through
// this; it is std::realloc unless a test makes it fail.
extern void* (*reallocateBlock)(void* block, size_t size);

bool createEmptyStore();
int32_t rebuildEntryIndex();
void ensureStoreCapacity();

// used plus the headroom, or plus an eighth of used when that is more: the
// size a block grows to when typing has used up its room.
int32_t grownSize(int32_t used, int32_t headroom);

// What rebuildEntryIndex does, after a small edit at offset `at`: delta
// bytes went in there (or -delta bytes came out), none of them CR or LF,
// and usedBytes already says so.  Unless the bytes now on either side of
// the edit are both CR or LF, no separator can have been made or broken,
// and the entries that start behind `at` only move by delta instead of the
// whole text being scanned again.  The count text, title, status and
// modified flag are set as by the rebuild.  Returns the entry count.
int32_t reindexAfterEdit(int32_t at, int32_t delta);
void resetToBlankEntry();
void freeStore();

// Grows the text buffer to the text length + extra + the usual headroom,
// before a longer text is inserted at once.  Shows the out-of-memory
// message and returns false when it cannot; the buffer stays as it was.
bool growTextBufferFor(int32_t extra);

// Reallocates the text buffer to capacity bytes and fills what it gains
// with 0: the separator scan looks a few bytes past the text, and text that
// grows into new space must not meet old heap contents there.  False, with
// the buffer as it was, when it cannot.
bool resizeTextBuffer(int32_t capacity);

void formatEntryCountText(int32_t count);

// Start offset and length of entry k (separator included), 0 <= k < entryCount.
inline int32_t entryStart(int32_t k) { return entryIndex[k]; }
inline int32_t entryLength(int32_t k) { return entryIndex[k + 1] - entryIndex[k]; }

// Scans buffer[0, used) for entry separators the way the index rebuild does
// (a match resumes the scan behind its fourth byte) and writes the offset
// behind each into index[1..]; index[0] = 0, index[n + 1] = used.  Only the
// first `slots` of these are written.  Reads up to three bytes past used.
// Returns n, also when the index is too short for it.
int32_t scanEntrySeparators(const unsigned char* buffer, int32_t used, int32_t* index, int32_t slots);

// Makes room in the entry index for extra entries beyond entryCount, when a
// change may add entries without passing ensureStoreCapacity.  Shows the
// out-of-memory message and returns false when it cannot.
bool growEntryIndexFor(int32_t extra);
