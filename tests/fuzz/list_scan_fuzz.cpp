// Fuzz target: both scans of the satellite list over any bytes and any chosen entry. The
// first bytes choose the entry; the names must always come out 64 characters long and the
// fields terminated.
#include "satlist/list_scan.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace {

void checkName(void *, const char *name) {
    if (std::strlen(name) > kListNameLength) {
        std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    if (size < 2) {
        return 0;
    }
    const LONG index = static_cast<int8_t>(data[0]) % 8;
    const char *bytes = reinterpret_cast<const char *>(data + 1);
    const DWORD length = static_cast<DWORD>(size - 1);
    scanListNames(bytes, length, checkName, nullptr);
    ListEntry entry;
    entry.polarity = -1;
    scanListEntry(bytes, length, index, &entry);
    if (std::strlen(entry.frequency) > kFieldLength ||
        std::strlen(entry.symbolRate) > kFieldLength) {
        std::abort();
    }
    if (entry.polarityFound && entry.polarity != 0 && entry.polarity != 1) {
        std::abort();
    }
    return 0;
}
