// CreateFileA, GetFileSize, ReadFile, WriteFile, CloseHandle and DeleteFileA: paths, case,
// dispositions, sharing, exact bytes, permissions, special files and handle checks, against the
// Win32 results.
#include "scratch_dir.h"

#include <windows.h>

#include <filesystem>
#include <sys/stat.h>
#ifndef _WIN32
#include <unistd.h>
#endif

namespace {

class Files : public ScratchDir {};

HANDLE openFile(const char *name, DWORD access, DWORD share, DWORD disposition) {
    return CreateFileA(name, access, share, nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
}

// The program's two ways of opening Data\satellite.ini.
HANDLE openForReading(const char *name) {
    return openFile(name, GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING);
}

std::string readAll(HANDLE file) {
    std::string content(GetFileSize(file, nullptr), '\0');
    DWORD got = 0;
    EXPECT_TRUE(ReadFile(file, content.data(), static_cast<DWORD>(content.size()), &got, nullptr));
    EXPECT_EQ(got, content.size());
    return content;
}

TEST_F(Files, SeparatorsAndCaseFindTheExistingFile) {
    writeFile("Data/Sub/Satellite.INI", "list");
    for (const char *name :
         {"Data\\Sub\\Satellite.INI", "Data/Sub/Satellite.INI", "data\\SUB/satellite.ini",
          "Data\\\\Sub\\\\satellite.ini", ".\\Data\\Nope\\..\\Sub\\SATELLITE.ini"}) {
        SCOPED_TRACE(name);
        const HANDLE file = openForReading(name);
        ASSERT_NE(file, INVALID_HANDLE_VALUE);
        EXPECT_EQ(GetLastError(), DWORD{ERROR_SUCCESS});
        EXPECT_EQ(readAll(file), "list");
        EXPECT_TRUE(CloseHandle(file));
    }
}

// Two names that differ only in case exist on Linux only.
#ifndef _WIN32
TEST_F(Files, ExactNameFirstThenFirstCaseVariantInByteOrder) {
    writeFile("Data/a.txt", "lower");
    writeFile("Data/A.TXT", "upper");
    for (auto [name, content] :
         {std::pair{"Data\\a.txt", "lower"}, {"Data\\A.TXT", "upper"}, {"Data\\a.TXT", "upper"}}) {
        const HANDLE file = openForReading(name);
        ASSERT_NE(file, INVALID_HANDLE_VALUE);
        EXPECT_EQ(readAll(file), content) << name;
        CloseHandle(file);
    }
}
#endif

TEST_F(Files, CreatingReplacesACaseVariantInsteadOfAddingAFile) {
    writeFile("Data/Satellite.ini", "old content");
    const HANDLE file = openFile("data\\satellite.ini", GENERIC_WRITE, 0, CREATE_ALWAYS);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), DWORD{ERROR_ALREADY_EXISTS});
    DWORD written = 0;
    EXPECT_TRUE(WriteFile(file, "new", 3, &written, nullptr));
    EXPECT_TRUE(CloseHandle(file));
    EXPECT_EQ(readFile("Data/Satellite.ini"), "new");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator("Data"), {}), 1);
}

// Names on disk are UTF-8 on Linux; on Windows they are the system's own business.
#ifndef _WIN32
TEST_F(Files, NamesAreWindows1251AndStoredAsUtf8) {
    writeFile("Data/Спутник.ini", "cyrillic");
    WIN32_FIND_DATAA data{};
    const HANDLE find = FindFirstFileA("Data\\*.ini", &data);
    ASSERT_NE(find, INVALID_HANDLE_VALUE);
    EXPECT_STREQ(data.cFileName, "\xD1\xEF\xF3\xF2\xED\xE8\xEA.ini"); // "Спутник.ini"
    EXPECT_TRUE(FindClose(find));
    HANDLE file = openForReading("Data\\\xF1\xEF\xF3\xF2\xED\xE8\xEA.INI"); // "спутник.INI"
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    EXPECT_EQ(readAll(file), "cyrillic");
    EXPECT_TRUE(CloseHandle(file));
    file = openFile("Data\\\xC4\xE0\xED\xED\xFB\xE5.ini", GENERIC_WRITE, 0, CREATE_NEW);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    EXPECT_TRUE(CloseHandle(file));
    EXPECT_TRUE(std::filesystem::exists("Data/Данные.ini"));
}
#endif

struct DispositionCase {
    DWORD disposition;
    bool exists;
    bool succeeds;
    DWORD error;
    const char *contentAfter;
};

TEST_F(Files, DispositionsAndTheirLastErrors) {
    const DispositionCase cases[] = {
        {CREATE_NEW, false, true, ERROR_SUCCESS, ""},
        {CREATE_NEW, true, false, ERROR_FILE_EXISTS, "old"},
        {CREATE_ALWAYS, false, true, ERROR_SUCCESS, ""},
        {CREATE_ALWAYS, true, true, ERROR_ALREADY_EXISTS, ""},
        {OPEN_EXISTING, false, false, ERROR_FILE_NOT_FOUND, "<missing>"},
        {OPEN_EXISTING, true, true, ERROR_SUCCESS, "old"},
        {OPEN_ALWAYS, false, true, ERROR_SUCCESS, ""},
        {OPEN_ALWAYS, true, true, ERROR_ALREADY_EXISTS, "old"},
        {TRUNCATE_EXISTING, false, false, ERROR_FILE_NOT_FOUND, "<missing>"},
        {TRUNCATE_EXISTING, true, true, ERROR_SUCCESS, ""},
    };
    for (const DispositionCase &c : cases) {
        SCOPED_TRACE(testing::Message()
                     << "disposition " << c.disposition << " exists " << c.exists);
        std::filesystem::remove_all("Data");
        makeDir("Data");
        if (c.exists) {
            writeFile("Data/satellite.ini", "old");
        }
        SetLastError(12345);
        const HANDLE file =
            openFile("Data\\satellite.ini", GENERIC_READ | GENERIC_WRITE, 0, c.disposition);
        EXPECT_EQ(file != INVALID_HANDLE_VALUE, c.succeeds);
        EXPECT_EQ(GetLastError(), c.error);
        if (file != INVALID_HANDLE_VALUE) {
            EXPECT_TRUE(CloseHandle(file));
        }
        EXPECT_EQ(readFile("Data/satellite.ini"), c.contentAfter);
    }
}

TEST_F(Files, PathErrorsAndTheDataDirectoryIsNeverCreated) {
    writeFile("plain.txt", "");
    makeDir("Data/Dir");
    struct PathCase {
        const char *name;
        DWORD disposition;
        DWORD error;
    };
    const PathCase cases[] = {
        {"Data\\..\\Missing\\satellite.ini", CREATE_ALWAYS, ERROR_PATH_NOT_FOUND},
        {"Missing\\satellite.ini", OPEN_EXISTING, ERROR_PATH_NOT_FOUND},
        {"plain.txt\\satellite.ini", CREATE_ALWAYS, ERROR_PATH_NOT_FOUND},
        {"C:\\Data\\satellite.ini", OPEN_ALWAYS, ERROR_PATH_NOT_FOUND},
        {"\\\\server\\share\\satellite.ini", OPEN_ALWAYS, ERROR_PATH_NOT_FOUND},
        {"Data\\Dir", OPEN_EXISTING, ERROR_ACCESS_DENIED},
        {"Data\\dir", CREATE_ALWAYS, ERROR_ACCESS_DENIED},
        {"Data\\*.ini", CREATE_ALWAYS, ERROR_INVALID_NAME},
    };
    for (const PathCase &c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(openFile(c.name, GENERIC_WRITE, 0, c.disposition), INVALID_HANDLE_VALUE);
        EXPECT_EQ(GetLastError(), c.error);
    }
    EXPECT_FALSE(std::filesystem::exists("Missing"));
}

TEST_F(Files, PermissionsAreAccessDenied) {
    if (underWine()) {
        GTEST_SKIP()
            << "Wine keeps the read-only attribute as Unix permissions, which root ignores";
    }
    writeFile("Data/readonly.ini", "keep");
    ::chmod("Data/readonly.ini", 0444); // FILE_ATTRIBUTE_READONLY: refused even for root
    for (DWORD disposition : {OPEN_EXISTING, CREATE_ALWAYS, TRUNCATE_EXISTING}) {
        EXPECT_EQ(openFile("Data\\readonly.ini", GENERIC_WRITE, 0, disposition),
                  INVALID_HANDLE_VALUE);
        EXPECT_EQ(GetLastError(), DWORD{ERROR_ACCESS_DENIED});
    }
    EXPECT_EQ(readFile("Data/readonly.ini"), "keep");

#ifdef _WIN32
    GTEST_SKIP() << "a folder's read-only attribute does not stop creating files in it";
#else
    ::chmod("Data", 0555);
    if (::geteuid() == 0) {
        GTEST_SKIP() << "root creates files in a directory without write permission";
    }
#endif
    EXPECT_EQ(openFile("Data\\satellite.ini", GENERIC_WRITE, 0, CREATE_ALWAYS),
              INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), DWORD{ERROR_ACCESS_DENIED});
}

struct ShareCase {
    DWORD access1, share1, access2, share2;
    bool secondOpens;
};

TEST_F(Files, ShareModesBetweenHandles) {
    constexpr DWORD R = GENERIC_READ, W = GENERIC_WRITE;
    constexpr DWORD SR = FILE_SHARE_READ, SW = FILE_SHARE_WRITE;
    const ShareCase cases[] = {
        {W, 0, R, SR, false},       {R, SR, R, SR, true},         {R, SR, W, SR, false},
        {R, SR | SW, W, SW, false}, {R, SR | SW, W, SR, true},    {R, 0, R, SR | SW, false},
        {W, SW, W, SW, true},       {W, SW | SR, R, SR, false},   {W, SW | SR, R, SR | SW, true},
        {0, 0, R | W, 0, true},     {R | W, SR | SW, 0, 0, true},
    };
    writeFile("Data/satellite.ini", "content");
    for (const ShareCase &c : cases) {
        SCOPED_TRACE(testing::Message()
                     << c.access1 << "/" << c.share1 << " then " << c.access2 << "/" << c.share2);
        const HANDLE first = openFile("Data\\satellite.ini", c.access1, c.share1, OPEN_EXISTING);
        ASSERT_NE(first, INVALID_HANDLE_VALUE);
        const HANDLE second = openFile("DATA\\SATELLITE.INI", c.access2, c.share2, OPEN_EXISTING);
        EXPECT_EQ(second != INVALID_HANDLE_VALUE, c.secondOpens);
        if (second == INVALID_HANDLE_VALUE) {
            EXPECT_EQ(GetLastError(), DWORD{ERROR_SHARING_VIOLATION});
        } else {
            EXPECT_TRUE(CloseHandle(second));
        }
        EXPECT_TRUE(CloseHandle(first));
    }
    // A refused CREATE_ALWAYS leaves the file alone; once the reader is gone it works.
    const HANDLE reader = openForReading("Data\\satellite.ini");
    EXPECT_EQ(openFile("Data\\satellite.ini", GENERIC_WRITE, 0, CREATE_ALWAYS),
              INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), DWORD{ERROR_SHARING_VIOLATION});
    EXPECT_EQ(readFile("Data/satellite.ini"), "content");
    EXPECT_TRUE(CloseHandle(reader));
    const HANDLE writer = openFile("Data\\satellite.ini", GENERIC_WRITE, 0, CREATE_ALWAYS);
    EXPECT_NE(writer, INVALID_HANDLE_VALUE);
    EXPECT_TRUE(CloseHandle(writer));
}

TEST_F(Files, WritesAndReadsBackExactBytes) {
    makeDir("Data");
    std::string bytes;
    for (int i = 0; i < 256; ++i) {
        bytes.push_back(static_cast<char>(i)); // 0x00, "\r\n", 0x80..0xFF
    }
    bytes += "[Astra]=11778v27500;\r\n\n\r";
    HANDLE file = openFile("Data\\satellite.ini", GENERIC_WRITE, 0, CREATE_ALWAYS);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    DWORD count = 0;
    EXPECT_TRUE(WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &count, nullptr));
    EXPECT_EQ(count, bytes.size());
    EXPECT_TRUE(WriteFile(file, "", 0, &count, nullptr));
    EXPECT_EQ(count, 0u);
    char buffer[4];
    EXPECT_FALSE(ReadFile(file, buffer, sizeof buffer, &count, nullptr)); // no GENERIC_READ
    EXPECT_EQ(GetLastError(), DWORD{ERROR_ACCESS_DENIED});
    EXPECT_TRUE(CloseHandle(file));
    EXPECT_EQ(readFile("Data/satellite.ini"), bytes);

    file = openForReading("Data\\satellite.ini");
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    DWORD high = 77;
    EXPECT_EQ(GetFileSize(file, &high), bytes.size());
    EXPECT_EQ(high, 0u);
    EXPECT_EQ(readAll(file), bytes); // one ReadFile of GetFileSize bytes
    EXPECT_TRUE(ReadFile(file, buffer, sizeof buffer, &count, nullptr)); // at end of file
    EXPECT_EQ(count, 0u);
    EXPECT_FALSE(WriteFile(file, "x", 1, &count, nullptr)); // no GENERIC_WRITE
    EXPECT_EQ(GetLastError(), DWORD{ERROR_ACCESS_DENIED});
    EXPECT_TRUE(CloseHandle(file));
}

TEST_F(Files, ShortReadAtEndOfFileAndNoOverlappedIo) {
    writeFile("Data/satellite.ini", "0123456789");
    const HANDLE file = openForReading("Data\\satellite.ini");
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    char buffer[100] = {};
    DWORD count = 0;
    EXPECT_TRUE(ReadFile(file, buffer, 4, &count, nullptr));
    EXPECT_EQ(std::string(buffer, count), "0123");
    EXPECT_TRUE(ReadFile(file, buffer, sizeof buffer, &count, nullptr));
    EXPECT_EQ(std::string(buffer, count), "456789");
    EXPECT_TRUE(ReadFile(file, buffer, sizeof buffer, nullptr, nullptr)); // count is optional
    // Refused here (the structure is never read); Windows reads at the structure's offset.
#ifndef _WIN32
    long dummy = 0;
    EXPECT_FALSE(ReadFile(file, buffer, 1, &count, reinterpret_cast<LPOVERLAPPED>(&dummy)));
    EXPECT_EQ(GetLastError(), DWORD{ERROR_INVALID_PARAMETER});
#endif
    EXPECT_TRUE(CloseHandle(file));
}

TEST_F(Files, LargeFileSizeHasAHighPart) {
    writeFile("big.bin", "");
    std::error_code error;
    std::filesystem::resize_file("big.bin", (std::uintmax_t{1} << 32) + 5, error);
    if (error) {
        GTEST_SKIP() << "the file system cannot hold a sparse file of 4 GiB";
    }
    const HANDLE file = openForReading("big.bin");
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    DWORD high = 0;
    EXPECT_EQ(GetFileSize(file, &high), 5u);
    EXPECT_EQ(high, 1u);
    EXPECT_TRUE(CloseHandle(file));
}

// A FIFO without a writer, a folder and a device are no files, whatever the access: refused at
// once, never waited on, never read, written or truncated. (Linux's special files.)
#ifndef _WIN32
TEST_F(Files, SpecialFilesAreAccessDeniedWithoutBlocking) {
    makeDir("Data/folder.ini");
    ASSERT_EQ(::mkfifo("Data/fifo.ini", 0644), 0);
    std::filesystem::create_symlink("/dev/zero", "Data/zero.ini");
    struct Open {
        DWORD access, disposition;
    };
    for (const char *name : {"Data\\folder.ini", "Data\\fifo.ini", "Data\\zero.ini"}) {
        for (const Open open :
             {Open{GENERIC_READ, OPEN_EXISTING}, Open{GENERIC_WRITE, CREATE_ALWAYS},
              Open{GENERIC_READ | GENERIC_WRITE, OPEN_ALWAYS}}) {
            SCOPED_TRACE(testing::Message() << name << " access " << std::hex << open.access);
            EXPECT_EQ(openFile(name, open.access, FILE_SHARE_READ, open.disposition),
                      INVALID_HANDLE_VALUE);
            EXPECT_EQ(GetLastError(), DWORD{ERROR_ACCESS_DENIED});
        }
    }
    EXPECT_TRUE(std::filesystem::is_fifo("Data/fifo.ini"));
    EXPECT_TRUE(std::filesystem::is_directory("Data/folder.ini"));
}
#endif

TEST_F(Files, DeleteFileRemovesOnlyAnUnsharedWritableFile) {
    writeFile("Data/Satellite.ini", "x");
    writeFile("Data/readonly.ini", "keep");
    ::chmod("Data/readonly.ini", 0444);
    makeDir("Data/folder.ini");
    struct Case {
        const char *name;
        DWORD error; // ERROR_SUCCESS: deleted
    };
    const HANDLE held =
        openFile("Data\\readonly.ini", GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    ::chmod("Data/readonly.ini", 0644); // only the share mode of the open handle stops it now
    for (const Case c : {Case{"Data\\readonly.ini", ERROR_SHARING_VIOLATION},
                         Case{"data\\SATELLITE.INI", ERROR_SUCCESS},
                         Case{"Data\\satellite.ini", ERROR_FILE_NOT_FOUND},
                         Case{"Missing\\satellite.ini", ERROR_PATH_NOT_FOUND},
                         Case{"Data\\folder.ini", ERROR_ACCESS_DENIED}}) {
        SCOPED_TRACE(c.name);
        SetLastError(ERROR_SUCCESS);
        EXPECT_EQ(DeleteFileA(c.name), c.error == ERROR_SUCCESS ? TRUE : FALSE);
        EXPECT_EQ(GetLastError(), c.error);
    }
    EXPECT_FALSE(std::filesystem::exists("Data/Satellite.ini"));
    EXPECT_TRUE(CloseHandle(held));
    ::chmod("Data/readonly.ini", 0444);
    EXPECT_FALSE(DeleteFileA("Data\\readonly.ini"));
    EXPECT_EQ(GetLastError(), DWORD{ERROR_ACCESS_DENIED});
    EXPECT_EQ(readFile("Data/readonly.ini"), "keep");
    EXPECT_TRUE(std::filesystem::is_directory("Data/folder.ini"));
}

TEST_F(Files, GarbageAndClosedHandlesAreInvalid) {
    writeFile("Data/satellite.ini", "x");
    const HANDLE file = openForReading("Data\\satellite.ini");
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    ASSERT_NE(file, HANDLE{});
    EXPECT_FALSE(FindClose(file)); // a file is not a search
    EXPECT_EQ(GetLastError(), DWORD{ERROR_INVALID_HANDLE});
    EXPECT_TRUE(CloseHandle(file));
    const HANDLE again = openForReading("Data\\satellite.ini");
#ifndef _WIN32 // a closed handle's value is not given out again; Windows does reuse them
    EXPECT_NE(again, file);
#endif
    EXPECT_TRUE(CloseHandle(again));
    EXPECT_TRUE(CloseHandle(INVALID_HANDLE_VALUE)); // GetCurrentProcess(): nothing to close

    int local = 0;
    char buffer[4];
    DWORD count = 99;
    for (HANDLE bad : {file, HANDLE{}, INVALID_HANDLE_VALUE, reinterpret_cast<HANDLE>(&local),
                       reinterpret_cast<HANDLE>(uintptr_t{0x12345678})}) {
        SCOPED_TRACE(bad);
        if (bad != INVALID_HANDLE_VALUE) {
            EXPECT_FALSE(CloseHandle(bad));
            EXPECT_EQ(GetLastError(), DWORD{ERROR_INVALID_HANDLE});
        }
        EXPECT_FALSE(ReadFile(bad, buffer, sizeof buffer, &count, nullptr));
        EXPECT_EQ(GetLastError(), DWORD{ERROR_INVALID_HANDLE});
        EXPECT_EQ(count, 0u);
        EXPECT_FALSE(WriteFile(bad, buffer, sizeof buffer, &count, nullptr));
        EXPECT_EQ(GetLastError(), DWORD{ERROR_INVALID_HANDLE});
        EXPECT_EQ(GetFileSize(bad, nullptr), INVALID_FILE_SIZE);
        EXPECT_EQ(GetLastError(), DWORD{ERROR_INVALID_HANDLE});
    }
}

} // namespace
