// Fuzz target: both scans of the satellite list over any bytes and any chosen entry; the first
// byte chooses the entry. Beyond what the sanitizers see, it checks what the scans promise:
// one name per "]", with no "[" or "]" in it; the entry's fields ending at their terminators
// (an overrun inside the record is invisible to AddressSanitizer); a polarity of 0 or 1 only
// when a letter was found, and without one an untouched polarity and a blank symbol rate.
#include "satlist/list_scan.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

void check(bool condition, const char *what) {
    if (!condition) {
        std::fprintf(stderr, "fuzz_list_scan: %s\n", what);
        std::abort();
    }
}

void checkName(void *calls, const char *name) {
    ++*static_cast<long *>(calls);
    check(std::memchr(name, '[', kListNameLength) == nullptr &&
              std::memchr(name, ']', kListNameLength) == nullptr,
          "a name holds a bracket");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    if (size < 2) {
        return 0;
    }
    const LONG index = static_cast<int8_t>(data[0]) % 8;
    const char *bytes = reinterpret_cast<const char *>(data + 1);
    const DWORD length = static_cast<DWORD>(size - 1);

    long calls = 0;
    scanListNames(bytes, length, checkName, &calls);
    check(calls == std::count(bytes, bytes + length, ']'), "not one name per ']'");

    ListEntry entry;
    entry.polarity = -1;
    scanListEntry(bytes, length, index, &entry);
    check(entry.frequency[kFieldLength] == '\0' && entry.symbolRate[kFieldLength] == '\0',
          "a field runs past its terminator");
    check(std::memchr(entry.title, ']', sizeof entry.title) == nullptr, "the title holds ']'");
    if (entry.polarityFound) {
        check(entry.polarity == 0 || entry.polarity == 1, "polarity other than 0 or 1");
    } else {
        check(entry.polarity == -1, "polarity changed without a polarity letter");
        check(std::memcmp(entry.symbolRate, "          ", kFieldLength) == 0,
              "a symbol rate without a polarity letter");
    }
    return 0;
}
