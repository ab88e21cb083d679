// The satellite list file: created on first start when the user agrees, read into the combo
// box, and read again for the chosen entry with its checks and messages.
#include "program_fixture.h"

#include "satlist/satellite_list.h"

#include <csignal>
#include <cstdint>
#include <fstream>
#include <sys/resource.h>
#include <sys/stat.h>

namespace {

std::string itemText(int index) {
    const LRESULT length = SendMessageA(app.satelliteCombo, CB_GETLBTEXTLEN, index, 0);
    std::string text(static_cast<size_t>(length > 0 ? length : 0) + 1, '\0');
    SendMessageA(app.satelliteCombo, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<size_t>(length > 0 ? length : 0));
    return text;
}

std::string padded(const std::string &name) {
    return name + std::string(64 - name.size(), ' ');
}

class ListTest : public ProgramTest {
  protected:
    void start() { ASSERT_NE(createWindow(), nullptr); }
    // Chooses entry `index` and reads it as "FIND>" would.
    bool read(int index) {
        SendMessageA(app.satelliteCombo, CB_SETCURSEL, index, 0);
        return readSelectedEntry();
    }
    std::string title() const { return std::string(app.titleLine, sizeof app.titleLine); }
};

TEST_F(ListTest, FirstStartCreatesTheDefaultListWhenTheUserAgrees) {
    useNoDataFolder();
    folder->writeFile("Data/.keep", "");
    boxes->willAnswer(IDYES);
    start();
    ASSERT_GE(boxes->shown().size(), 1u);
    EXPECT_EQ(boxes->shown()[0].text, "satellite.ini - not found. Create new  file?");
    EXPECT_EQ(boxes->shown()[0].caption, "Warning!");
    EXPECT_EQ(boxes->shown()[0].type, static_cast<UINT>(MB_YESNO));
    EXPECT_EQ(boxes->shown().size(), 1u);
    EXPECT_EQ(folder->readFile("Data/satellite.ini"), std::string(kDefaultListBytes));
    EXPECT_EQ(folder->readFile("Data/satellite.ini").size(), 152u);
    EXPECT_EQ(app.noList, 0);
    EXPECT_EQ(app.entryMode, 0);
    ASSERT_EQ(SendMessageA(app.satelliteCombo, CB_GETCOUNT, 0, 0), 4);
    EXPECT_EQ(itemText(0), padded("Astra 1B-1H,2C   19.2e"));
    EXPECT_EQ(itemText(1), padded("Eutelsat W4/Sesat   36.0e"));
    EXPECT_EQ(itemText(2), padded("HotBird 1-6   13.0e"));
    EXPECT_EQ(itemText(3), padded("Sirius 2/3,Astra 1A   5.0e"));
}

TEST_F(ListTest, DecliningLeavesNoListAndManualEntry) {
    useNoDataFolder();
    folder->writeFile("Data/.keep", "");
    boxes->willAnswer(IDNO);
    start();
    EXPECT_EQ(boxes->shown().size(), 1u);
    EXPECT_EQ(app.noList, 1);
    EXPECT_EQ(app.entryMode, 1);
    EXPECT_EQ(app.satelliteCombo, nullptr);
    EXPECT_FALSE(std::filesystem::exists(folder->path() / "Data" / "satellite.ini"));
    char text[16] = {};
    GetWindowTextA(app.findButton, text, sizeof text);
    EXPECT_STREQ(text, "NEXT>");
    GetWindowTextA(app.modeButton, text, sizeof text);
    EXPECT_STREQ(text, "MODE 1");
}

TEST_F(ListTest, ListThatCannotBeCreatedIsReportedInEnglish) {
    useNoDataFolder(); // no Data folder: the file cannot be created, and the folder is not made
    boxes->willAnswer(IDYES);
    start();
    ASSERT_EQ(boxes->shown().size(), 2u);
    EXPECT_EQ(boxes->shown()[1].text, "Cannot create file satellite.ini");
    EXPECT_EQ(boxes->shown()[1].caption, "Error!");
    EXPECT_EQ(boxes->shown()[1].type, static_cast<UINT>(MB_OK));
    EXPECT_EQ(app.noList, 1);
    EXPECT_EQ(app.entryMode, 1);
    EXPECT_FALSE(std::filesystem::exists(folder->path() / "Data"));
    EXPECT_TRUE(IsWindow(app.mainWindow)) << "a missing list never ends the program";
}

// A list that is found but cannot be read: the check is satisfied (no question), yet the list
// cannot serve, so the wizard starts with typed entry and an empty combo box. Each row makes
// Data/ so; false when the file system cannot hold the case.
struct UnreadableRow {
    const char *label;
    bool (*make)(const std::filesystem::path &data);
};

bool writeList(const std::filesystem::path &file, std::uintmax_t size) {
    std::ofstream(file, std::ios::binary) << kDefaultListBytes;
    std::error_code error;
    std::filesystem::resize_file(file, size, error); // sparse: no disk space is used
    return !error;
}

const UnreadableRow kUnreadableLists[] = {
    {"AnyNameEndingInAtelliteIni",
     [](const std::filesystem::path &data) {
         std::ofstream(data / "MySatellite.ini") << kDefaultListBytes;
         return true;
     }},
    {"Folder",
     [](const std::filesystem::path &data) {
         return std::filesystem::create_directory(data / "satellite.ini");
     }},
    {"Fifo",
     [](const std::filesystem::path &data) {
         return ::mkfifo((data / "satellite.ini").c_str(), 0644) == 0;
     }},
    {"Device",
     [](const std::filesystem::path &data) {
         std::filesystem::create_symlink("/dev/zero", data / "satellite.ini");
         return true;
     }},
    {"OverOneMebibyte",
     [](const std::filesystem::path &data) {
         return writeList(data / "satellite.ini", 1024 * 1024 + 1);
     }},
    {"OverFourGibibytes", // the low 32 bits of its size alone would say 152
     [](const std::filesystem::path &data) {
         return writeList(data / "satellite.ini", (std::uintmax_t{1} << 32) + 152);
     }},
};

class UnreadableListTest : public ListTest, public testing::WithParamInterface<UnreadableRow> {};

TEST_P(UnreadableListTest, StartsEmptyInTypedEntry) {
    useNoDataFolder();
    std::filesystem::create_directory(folder->path() / "Data");
    if (!GetParam().make(folder->path() / "Data")) {
        GTEST_SKIP() << "the file system cannot hold this case";
    }
    ASSERT_NE(createShownWindow(), nullptr);
    EXPECT_TRUE(boxes->shown().empty()) << "no question";
    EXPECT_EQ(app.noList, 0);
    EXPECT_EQ(app.entryMode, 1);
    ASSERT_TRUE(IsWindow(app.satelliteCombo));
    EXPECT_EQ(SendMessageA(app.satelliteCombo, CB_GETCOUNT, 0, 0), 0);
    EXPECT_TRUE(IsWindowVisible(app.editBox));
    EXPECT_TRUE(IsWindowVisible(app.upDown));
    EXPECT_FALSE(IsWindowVisible(app.satelliteCombo));
    char text[16] = {};
    GetWindowTextA(app.findButton, text, sizeof text);
    EXPECT_STREQ(text, "NEXT>");
    GetWindowTextA(app.modeButton, text, sizeof text);
    EXPECT_STREQ(text, "MODE 1");
}

INSTANTIATE_TEST_SUITE_P(Lists, UnreadableListTest, testing::ValuesIn(kUnreadableLists),
                         [](const testing::TestParamInfo<UnreadableRow> &row) {
                             return std::string(row.param.label);
                         });

TEST_F(ListTest, ListCutShortByAFullDiskIsRemovedAndReported) {
    useNoDataFolder();
    folder->writeFile("Data/.keep", "");
    boxes->willAnswer(IDYES);
    // A file size limit stands in for a full disk: writes beyond 100 bytes fail.
    rlimit saved{};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit limited = saved;
    limited.rlim_cur = 100;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &limited), 0);
    start();
    ::setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previousHandler);
    ASSERT_EQ(boxes->shown().size(), 2u);
    EXPECT_EQ(boxes->shown()[1].text, "Cannot create file satellite.ini");
    EXPECT_FALSE(std::filesystem::exists(folder->path() / "Data" / "satellite.ini"));
    EXPECT_EQ(app.noList, 1);
    EXPECT_EQ(app.entryMode, 1);
}

TEST_F(ListTest, NameCaseDoesNotMatterForTheFileItself) {
    useNoDataFolder();
    folder->writeFile("Data/Satellite.INI", "[Only]=11000v27500;");
    start();
    EXPECT_EQ(app.entryMode, 0);
    EXPECT_EQ(SendMessageA(app.satelliteCombo, CB_GETCOUNT, 0, 0), 1);
}

TEST_F(ListTest, LineBreaksBetweenEntriesChangeNothing) {
    useList("[One]=12515h22000;\r\n[Two]=10723v29900;\n\n  [Three]=3900h1000");
    start();
    ASSERT_EQ(SendMessageA(app.satelliteCombo, CB_GETCOUNT, 0, 0), 3);
    EXPECT_EQ(itemText(2), padded("Three"));
    ASSERT_TRUE(read(1));
    EXPECT_EQ(app.frequencyMHz, 10723);
    EXPECT_EQ(app.polarity, 1);
    EXPECT_EQ(app.symbolRate, 29900);
    EXPECT_EQ(title(), "Two            ");
    ASSERT_TRUE(read(2)) << "the last entry may end without ';'";
    EXPECT_EQ(app.frequencyMHz, 3900);
    EXPECT_EQ(app.symbolRate, 1000);
}

struct EntryRow {
    const char *list;
    const char *message; // nullptr: accepted
};

class EntryCheckTest : public ListTest, public testing::WithParamInterface<EntryRow> {};

TEST_P(EntryCheckTest, ValuesAreCheckedWithTheirMessages) {
    useList(GetParam().list);
    start();
    const bool ok = read(0);
    if (GetParam().message == nullptr) {
        EXPECT_TRUE(ok);
        EXPECT_TRUE(boxes->shown().empty());
    } else {
        EXPECT_FALSE(ok);
        ASSERT_EQ(boxes->shown().size(), 1u);
        EXPECT_EQ(boxes->shown()[0].text, GetParam().message);
        EXPECT_EQ(boxes->shown()[0].type, static_cast<UINT>(MB_ICONWARNING | MB_OK));
    }
}

constexpr const char *kBadFrequency = "Invalid parameter of transponder frequency in satellite.ini";
constexpr const char *kBadRate = "Invalid parameter of symbol rate in satellite.ini";

INSTANTIATE_TEST_SUITE_P(
    Bounds, EntryCheckTest,
    testing::Values(EntryRow{"[a]=3400h27500;", nullptr}, EntryRow{"[a]=4200h27500;", nullptr},
                    EntryRow{"[a]=10700h27500;", nullptr}, EntryRow{"[a]=15000h27500;", nullptr},
                    EntryRow{"[a]=3399h27500;", kBadFrequency},
                    EntryRow{"[a]=4201h27500;", kBadFrequency},
                    EntryRow{"[a]=10699h27500;", kBadFrequency},
                    EntryRow{"[a]=15001h27500;", kBadFrequency},
                    EntryRow{"[a]=12000h1000;", nullptr}, EntryRow{"[a]=12000h45000;", nullptr},
                    EntryRow{"[a]=12000h999;", kBadRate}, EntryRow{"[a]=12000h45001;", kBadRate},
                    // An uppercase H is no polarity letter: no symbol-rate field at all.
                    EntryRow{"[a]=12000H27500;", kBadRate}, EntryRow{"[a]=;", kBadFrequency},
                    EntryRow{"[a]", kBadFrequency},
                    // Fields longer than ten characters keep their first ten.
                    EntryRow{"[a]=000000000012000h27500;", kBadFrequency},
                    EntryRow{"[a]=12000h00000000000000027500;", kBadRate},
                    EntryRow{"[a]= 12000h  27500;", nullptr}));

TEST_F(ListTest, TheTitleIsTheFirstFifteenCharactersOfALongName) {
    const std::string name40 = "Forty characters of satellite name here!";
    ASSERT_EQ(name40.size(), 40u);
    useList("[" + name40 + "]=11000v27500;");
    start();
    EXPECT_EQ(itemText(0), padded(name40));
    ASSERT_TRUE(read(0));
    EXPECT_EQ(title(), name40.substr(0, 15));
}

TEST_F(ListTest, NamesLongerThanAnItemAreCutSafely) {
    const std::string huge(5000, 'x');
    useList("[" + huge + "]=11000v27500;[short]=12000h27500;");
    start();
    ASSERT_EQ(SendMessageA(app.satelliteCombo, CB_GETCOUNT, 0, 0), 2);
    EXPECT_EQ(itemText(0), std::string(64, 'x'));
    EXPECT_EQ(itemText(1), padded("short"));
    ASSERT_TRUE(read(1));
    EXPECT_EQ(app.frequencyMHz, 12000);
}

TEST_F(ListTest, EditsAfterStartReachTheLookupButNotTheComboBox) {
    start();
    useList("[Changed]=3700v2000;[b]=12000h27500;");
    ASSERT_TRUE(read(0));
    EXPECT_EQ(app.frequencyMHz, 3700);
    EXPECT_EQ(SendMessageA(app.satelliteCombo, CB_GETCOUNT, 0, 0), 4);
}

TEST_F(ListTest, EmptyListGivesAnEmptyComboBox) {
    useList("");
    start();
    EXPECT_EQ(SendMessageA(app.satelliteCombo, CB_GETCOUNT, 0, 0), 0);
    EXPECT_EQ(app.entryMode, 0);
    EXPECT_FALSE(readSelectedEntry());
    EXPECT_EQ(boxes->shown().back().text, "Please shoose the satellite!");
}

TEST_F(ListTest, ListRemovedBeforeTheSearchIsAnInvalidFrequency) {
    start();
    std::filesystem::remove(folder->path() / "Data" / "satellite.ini");
    EXPECT_FALSE(read(0));
    EXPECT_EQ(app.entryMode, 1);
    EXPECT_EQ(boxes->shown().back().text, kBadFrequency);
}

} // namespace
