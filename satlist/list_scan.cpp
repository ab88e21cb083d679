// Scanning the satellite list: "[name]=FREQUENCY p SYMBOLRATE;" entries, with anything between
// entries ignored. Both scans are single passes that never write outside their buffers,
// whatever the bytes.
#include "satlist/list_scan.h"

#include <cstring>

void scanListNames(const char *buffer, DWORD size, void (*addName)(void *, const char *),
                   void *context) {
    char name[kListNameLength + 1];
    int length = 0;
    bool inside = true;
    for (DWORD i = 0; i < size; ++i) {
        const char c = buffer[i];
        if (c == ']') {
            if (length < kListNameLength) {
                std::memset(name + length, ' ', static_cast<size_t>(kListNameLength - length));
            }
            name[kListNameLength] = '\0';
            addName(context, name);
            inside = false;
        } else if (inside && length < kListNameLength) {
            name[length++] = c;
        }
        if (c == '[') {
            inside = true;
            length = 0;
        }
    }
}

void scanListEntry(const char *buffer, DWORD size, LONG index, ListEntry *entry) {
    enum class State { None, Name, Frequency, SymbolRate };
    std::memset(entry->title, ' ', sizeof entry->title);
    std::memset(entry->frequency, 0, sizeof entry->frequency);
    std::memset(entry->symbolRate, ' ', kFieldLength);
    entry->symbolRate[kFieldLength] = '\0';
    entry->polarityFound = false;

    State state = State::None;
    LONG entryNumber = 0;
    int k = 0;
    for (DWORD i = 0; i < size; ++i) {
        const char c = buffer[i];
        if (c == ']') {
            state = State::None;
            k = 0;
        } else if (entryNumber == index) {
            if (state == State::Name && k < kTitleLength) {
                entry->title[k++] = c;
            } else if (state == State::Frequency && k < kFieldLength) {
                entry->frequency[k++] = c;
            } else if (state == State::SymbolRate && k < kFieldLength) {
                entry->symbolRate[k++] = c;
            }
        }
        if (c == '[') {
            state = State::Name;
        } else if (c == '=') {
            state = State::Frequency;
        } else if ((c == 'h' || c == 'v') && state == State::Frequency && entryNumber == index) {
            entry->polarity = c == 'h' ? 0 : 1;
            entry->polarityFound = true;
            state = State::SymbolRate;
            k = 0;
        } else if (c == ';') {
            state = State::None;
            ++entryNumber;
        }
    }
}
