// Filling a combo box: a sorted box places each string after the ones that compare less or
// equal (case ignored), and a box takes strings up to its cap of 32,767 and refuses the next.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

class ComboFillTest : public testing::Test {
  protected:
    void SetUp() override {
        parent = CreateWindowExA(0, "STATIC", "parent", WS_DLGFRAME, 0, 0, 340, 169, nullptr,
                                 nullptr, GetModuleHandleA(nullptr), nullptr);
    }
    void TearDown() override { DestroyWindow(parent); }
    HWND combo(DWORD style) {
        return CreateWindowExA(0, "COMBOBOX", "", WS_CHILD | WS_VSCROLL | style, 10, 10, 200, 300,
                               parent, nullptr, GetModuleHandleA(nullptr), nullptr);
    }
    static LRESULT add(HWND box, const std::string &text) {
        return SendMessageA(box, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
    }
    static std::string item(HWND box, int index) {
        char text[64] = {};
        SendMessageA(box, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(text));
        return text;
    }
    HWND parent = nullptr;
};

TEST_F(ComboFillTest, SortedBoxPlacesEachStringAfterItsEquals) {
    HWND box = combo(CBS_DROPDOWNLIST | CBS_SORT);
    // string added, index it gets
    const std::vector<std::pair<std::string, LRESULT>> adds = {
        {"mike", 0}, {"Alpha", 0}, {"zulu", 2}, {"ALPHA", 1},
        {"kilo", 2}, {"alpha", 2}, {"Zulu", 6}};
    for (const auto &[text, index] : adds) {
        EXPECT_EQ(add(box, text), index) << text;
    }
    const std::vector<std::string> expected = {"Alpha", "ALPHA", "alpha", "kilo",
                                               "mike",  "zulu",  "Zulu"};
    for (int i = 0; i < static_cast<int>(expected.size()); ++i) {
        EXPECT_EQ(item(box, i), expected[static_cast<size_t>(i)]) << "row " << i;
    }
}

TEST_F(ComboFillTest, TakesStringsUpToItsCap) {
    HWND box = combo(CBS_DROPDOWN);
    SendMessageA(box, CB_SETHORIZONTALEXTENT, 600, 0);
    for (int i = 0; i < 32767; ++i) {
        ASSERT_EQ(add(box, "satellite " + std::to_string(i)), i);
    }
    EXPECT_EQ(add(box, "one too many"), CB_ERRSPACE);
    EXPECT_EQ(SendMessageA(box, CB_GETCOUNT, 0, 0), 32767);
    EXPECT_EQ(item(box, 32766), "satellite 32766");
    EXPECT_EQ(SendMessageA(box, CB_GETCURSEL, 0, 0), CB_ERR);
}

} // namespace
