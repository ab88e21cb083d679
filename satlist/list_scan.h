// The two scans of the satellite list's bytes: the names for the combo box, and the fields of
// one chosen entry. Pure functions over a buffer, so they can be tested and fuzzed alone.
#pragma once

#include "app/win32.h"

constexpr int kListNameLength = 64; // a combo box item: the name padded with blanks
constexpr int kTitleLength = 15;    // the title line: the name's first 15 characters
constexpr int kFieldLength = 10;    // a collected numeric field

// Calls addName with each name, padded with blanks to 64 characters and terminated, in file
// order: one per "]". A name longer than 64 characters keeps its first 64.
void scanListNames(const char *buffer, DWORD size, void (*addName)(void *context, const char *name),
                   void *context);

struct ListEntry {
    char title[kTitleLength];          // blank-padded, no terminator
    char frequency[kFieldLength + 1];  // as collected, always terminated
    char symbolRate[kFieldLength + 1]; // blank-filled, always terminated
    LONG polarity;                     // set only when the entry has a polarity letter
    bool polarityFound;
};

// Collects the fields of entry number `index` (entries counted by ";"). Fields longer than ten
// characters keep their first ten.
void scanListEntry(const char *buffer, DWORD size, LONG index, ListEntry *entry);
