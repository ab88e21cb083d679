// The satellite list file. It is read whole into a fresh buffer each time it is needed and
// written only once, when the user agrees to create it with four default satellites.
#include "satlist/satellite_list.h"

#include "app/app_state.h"
#include "app/cp1251.h"
#include "app/decimal.h"
#include "app/messages.h"
#include "satlist/list_scan.h"

#include <cstdlib>
#include <cstring>

namespace {

constexpr char kListPattern[] = "Data\\*atellite.ini";
constexpr char kListPath[] = "Data\\satellite.ini";
constexpr char kDefaultList[] = "[Astra 1B-1H,2C   19.2e]=12515h22000;"
                                "[Eutelsat W4/Sesat   36.0e]=12360h26480;"
                                "[HotBird 1-6   13.0e]=10723h29900;"
                                "[Sirius 2/3,Astra 1A   5.0e]=12465h10787;";
static_assert(sizeof kDefaultList - 1 == 152, "the default list is 152 bytes");

constexpr auto kRuCannotCreate = CP1251(u8"Невозможно создать фаил satellite.ini");
constexpr auto kRuChooseSatellite = CP1251(u8"Пожалуйста выберите спутник!");
constexpr auto kRuBadFrequency =
    CP1251(u8"Недопустимый параметр частоты транспондера в файле satellite.ini");
constexpr auto kRuBadSymbolRate =
    CP1251(u8"Недопустимый параметр символьной скорости в файле satellite.ini");
constexpr auto kRuAttention = CP1251(u8"Внимание!");

const Message kCannotCreate{"Cannot create file satellite.ini", "Error!", kRuCannotCreate.c_str(),
                            "Error!", MB_OK};
const Message kChooseSatellite{"Please shoose the satellite!", "Attention!",
                               kRuChooseSatellite.c_str(), kRuAttention.c_str(), MB_OK};
const Message kBadFrequency{"Invalid parameter of transponder frequency in satellite.ini",
                            " Attention! ", kRuBadFrequency.c_str(), kRuAttention.c_str(),
                            MB_ICONWARNING | MB_OK};
const Message kBadSymbolRate{"Invalid parameter of symbol rate in satellite.ini", "Attention!",
                             kRuBadSymbolRate.c_str(), kRuAttention.c_str(),
                             MB_ICONWARNING | MB_OK};

// No list comes near this size (about 25,000 entries); a bigger file is something else under
// the list's name and is not read, so it cannot eat memory or flood the combo box.
constexpr DWORD kMaxListBytes = 1024 * 1024;

// Reads the whole list file into a new buffer (released by the caller with free); false when
// it cannot be opened or is larger than kMaxListBytes. A short read keeps only the bytes
// actually read.
bool readListFile(char **buffer, DWORD *size) {
    *buffer = nullptr;
    *size = 0;
    HANDLE file = CreateFileA(kListPath, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return false;
    }
    DWORD sizeHigh = 0;
    const DWORD fileSize = GetFileSize(file, &sizeHigh);
    if (sizeHigh != 0 || fileSize > kMaxListBytes) { // also the failure value INVALID_FILE_SIZE
        CloseHandle(file);
        return false;
    }
    if (fileSize > 0) {
        *buffer = static_cast<char *>(std::malloc(fileSize));
        DWORD got = 0;
        if (*buffer != nullptr && ReadFile(file, *buffer, fileSize, &got, nullptr)) {
            *size = got;
        }
    }
    CloseHandle(file);
    return true;
}

void addComboItem(void *combo, const char *name) {
    SendMessageA(static_cast<HWND>(combo), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name));
}

} // namespace

bool frequencyAllowed(LONG mhz) {
    return (mhz >= 3400 && mhz <= 4200) || (mhz >= 10700 && mhz <= 15000);
}

bool symbolRateAllowed(LONG rate) {
    return rate >= 1000 && rate <= 45000;
}

void ensureListFile(HWND window) {
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(kListPattern, &found);
    if (search != INVALID_HANDLE_VALUE) {
        FindClose(search);
        return;
    }
    if (MessageBoxA(window, "satellite.ini - not found. Create new  file?", "Warning!", MB_YESNO) !=
        IDYES) {
        app.entryMode = MODE_MANUAL;
        app.noList = 1;
        return;
    }
    HANDLE file = CreateFileA(kListPath, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    bool written = false;
    if (file != INVALID_HANDLE_VALUE) {
        DWORD count = 0;
        written = WriteFile(file, kDefaultList, sizeof kDefaultList - 1, &count, nullptr) &&
                  count == sizeof kDefaultList - 1;
        CloseHandle(file);
        if (!written) {
            // A list that could not be written whole (disk full, quota) is no list: removed,
            // the next start asks again instead of finding a broken one.
            DeleteFileA(kListPath);
        }
    }
    if (!written) {
        showMessage(window, kCannotCreate);
        app.entryMode = MODE_MANUAL;
        app.noList = 1;
    }
}

void loadListBox(HWND window) {
    char *buffer = nullptr;
    DWORD size = 0;
    const bool opened = readListFile(&buffer, &size);
    if (!opened) {
        app.entryMode = MODE_MANUAL;
    }
    const LONG w10 = app.clientRect.right / 10;
    const LONG h10 = app.clientRect.bottom / 10;
    app.satelliteCombo = CreateWindowExA(
        0, "COMBOBOX", "", WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_HSCROLL | CBS_DROPDOWN, w10,
        4 * h10, 8 * w10, 640, window,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(ID_SATELLITE_COMBO)), app.instance, nullptr);
    SendMessageA(app.satelliteCombo, CB_SETHORIZONTALEXTENT, 600, 0);
    if (opened) {
        scanListNames(buffer, size, addComboItem, app.satelliteCombo);
    }
    std::free(buffer);
}

bool readSelectedEntry() {
    const LRESULT selected = app.satelliteCombo != nullptr
                                 ? SendMessageA(app.satelliteCombo, CB_GETCURSEL, 0, 0)
                                 : CB_ERR;
    if (selected < 0) {
        showMessage(app.mainWindow, kChooseSatellite);
        return false;
    }
    char *buffer = nullptr;
    DWORD size = 0;
    if (!readListFile(&buffer, &size)) {
        app.entryMode = MODE_MANUAL;
    }
    ListEntry entry;
    entry.polarity = app.polarity;
    scanListEntry(buffer, size, static_cast<LONG>(selected), &entry);
    std::free(buffer);

    std::memcpy(app.titleLine, entry.title, sizeof app.titleLine);
    if (entry.polarityFound) {
        app.polarity = entry.polarity;
    }
    app.frequencyMHz = parseDecimal(entry.frequency);
    if (!frequencyAllowed(app.frequencyMHz)) {
        showMessage(app.mainWindow, kBadFrequency);
        return false;
    }
    app.symbolRate = parseDecimal(entry.symbolRate);
    if (!symbolRateAllowed(app.symbolRate)) {
        showMessage(app.mainWindow, kBadSymbolRate);
        return false;
    }
    return true;
}
