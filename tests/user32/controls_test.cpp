// Win32 behaviour of the standard controls and the up-down control, through the Win32 API:
// notifications to the parent, digits-only and limited edit boxes, the buddy that the up-down
// control writes and its range, bitmap statics, combo box selection, automatic radio buttons.
#include "message_boxes.h"
#include "mouse.h"

#include <windows.h>

#include <commctrl.h>

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace {

std::vector<std::pair<int, int>> g_commands; // (id, notification code)
std::vector<int> g_scrolls;                  // WM_VSCROLL's codes

LRESULT CALLBACK parentProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_COMMAND) {
        g_commands.emplace_back(LOWORD(wParam), HIWORD(wParam));
        return 0;
    }
    if (msg == WM_VSCROLL) {
        g_scrolls.push_back(LOWORD(wParam));
        return 0;
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

std::string textOf(HWND hwnd) {
    char text[128] = {};
    GetWindowTextA(hwnd, text, sizeof text);
    return text;
}

class ControlsTest : public testing::Test {
  protected:
    static void SetUpTestSuite() {
        WNDCLASSA wc{};
        wc.lpfnWndProc = parentProc;
        wc.lpszClassName = "ControlsParent";
        wc.hbrBackground = CreateSolidBrush(RGB(150, 170, 190));
        RegisterClassA(&wc);
    }
    void SetUp() override {
        g_commands.clear();
        g_scrolls.clear();
        parent = CreateWindowExA(0, "ControlsParent", "parent", WS_DLGFRAME | WS_SYSMENU, 0, 0, 340,
                                 169, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
        ShowWindow(parent, SW_SHOW);
    }
    void TearDown() override {
        DestroyWindow(parent);
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        }
    }
    HWND child(const char *cls, const char *text, DWORD style, int id, int x = 10, int y = 10,
               int w = 100, int h = 24) {
        return CreateWindowExA(0, cls, text, WS_CHILD | WS_VISIBLE | style, x, y, w, h, parent,
                               reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                               GetModuleHandleA(nullptr), nullptr);
    }
    void type(HWND edit, const char *keys) {
        for (const char *k = keys; *k; ++k) {
            SendMessageA(edit, WM_CHAR, static_cast<unsigned char>(*k), 1);
        }
    }
    void drain() {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            DispatchMessageA(&msg);
        }
    }
    HWND parent = nullptr;
};

TEST_F(ControlsTest, PushButtonClickNotifiesTheParentWithIdAndCode) {
    HWND button = child("BUTTON", "FIND>", BS_PUSHBUTTON, 114);
    SendMessageA(button, BM_CLICK, 0, 0);
    ASSERT_EQ(g_commands.size(), 1u);
    EXPECT_EQ(g_commands[0], std::make_pair(114, static_cast<int>(BN_CLICKED)));
    EnableWindow(button, FALSE);
    SendMessageA(button, BM_CLICK, 0, 0);
    EXPECT_EQ(g_commands.size(), 1u) << "a disabled button does not click";
    SetWindowTextA(button, "NEXT>");
    EXPECT_EQ(textOf(button), "NEXT>");
}

TEST_F(ControlsTest, AutomaticRadioButtonsCheckOneOfTheirGroup) {
    HWND first = child("BUTTON", "Horizontal", BS_AUTORADIOBUTTON, 117);
    HWND second = child("BUTTON", "Vertical", BS_AUTORADIOBUTTON, 118);
    HWND other = child("BUTTON", "Other group", BS_AUTORADIOBUTTON | WS_GROUP, 119);
    SendMessageA(other, BM_SETCHECK, BST_CHECKED, 0);
    SendMessageA(first, BM_SETCHECK, BST_CHECKED, 0);
    EXPECT_EQ(SendMessageA(first, BM_GETCHECK, 0, 0), BST_CHECKED);
    EXPECT_EQ(SendMessageA(second, BM_GETCHECK, 0, 0), BST_UNCHECKED);
    SendMessageA(second, BM_CLICK, 0, 0);
    EXPECT_EQ(SendMessageA(first, BM_GETCHECK, 0, 0), BST_UNCHECKED);
    EXPECT_EQ(SendMessageA(second, BM_GETCHECK, 0, 0), BST_CHECKED);
    EXPECT_EQ(SendMessageA(other, BM_GETCHECK, 0, 0), BST_CHECKED) << "another group";
    SendMessageA(second, BM_CLICK, 0, 0);
    EXPECT_EQ(SendMessageA(second, BM_GETCHECK, 0, 0), BST_CHECKED) << "a click never unchecks";
    EXPECT_EQ(g_commands.back(), std::make_pair(118, static_cast<int>(BN_CLICKED)));
}

TEST_F(ControlsTest, NumberEditTakesDigitsOnlyUpToItsLimit) {
    HWND edit = child("EDIT", "", ES_NUMBER | ES_CENTER, 110);
    SendMessageA(edit, EM_LIMITTEXT, 5, 0);
    type(edit, "1a2-3 x45678");
    EXPECT_EQ(textOf(edit), "12345");
    // The program may put in more than the user may type.
    SetWindowTextA(edit, "1234567");
    EXPECT_EQ(textOf(edit), "1234567");
    EXPECT_EQ(GetWindowTextLengthA(edit), 7);
    drain();
    bool changed = false;
    for (const auto &[id, code] : g_commands) {
        changed = changed || (id == 110 && code == EN_CHANGE);
    }
    EXPECT_TRUE(changed);
}

TEST_F(ControlsTest, EscapeTypedIntoAnEditBoxStaysThere) {
    HWND edit = child("EDIT", "", ES_NUMBER, 110);
    SetFocus(edit);
    SendMessageA(edit, WM_KEYDOWN, VK_ESCAPE, 1);
    MSG msg;
    EXPECT_FALSE(PeekMessageA(&msg, parent, WM_KEYDOWN, WM_KEYDOWN, PM_NOREMOVE));
    EXPECT_TRUE(IsWindow(parent));
}

TEST_F(ControlsTest, UpDownWritesItsBuddyAndStopsAtTheRange) {
    HWND edit = child("EDIT", "", ES_NUMBER, 110, 33, 56, 165, 28);
    HWND updown = CreateUpDownControl(WS_CHILD | WS_VISIBLE | UDS_SETBUDDYINT | UDS_ALIGNLEFT |
                                          UDS_ARROWKEYS | UDS_NOTHOUSANDS,
                                      0, 0, 20, 20, parent, 111, nullptr, edit, 12700, 3400, 12245);
    ASSERT_NE(updown, nullptr);
    EXPECT_EQ(textOf(edit), "12245");
    EXPECT_EQ(reinterpret_cast<HWND>(SendMessageA(updown, UDM_GETBUDDY, 0, 0)), edit);
    // Attached to the buddy's left edge, over its border; the buddy moved right and narrowed.
    RECT e{}, u{};
    GetWindowRect(edit, &e);
    GetWindowRect(updown, &u);
    EXPECT_EQ(u.right, e.left + 2);
    EXPECT_EQ(e.right - e.left, 149);
    EXPECT_EQ(u.bottom - u.top, 28);

    // The arrows read the buddy's text first.
    SetWindowTextA(edit, "12698");
    SendMessageA(edit, WM_KEYDOWN, VK_UP, 1);
    EXPECT_EQ(textOf(edit), "12699");
    SendMessageA(updown, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 2)); // upper half: up
    EXPECT_EQ(textOf(edit), "12700");
    SendMessageA(updown, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 2));
    EXPECT_EQ(textOf(edit), "12700") << "stops at the upper bound";

    SendMessageA(updown, UDM_SETRANGE32, 1000, 45000);
    SetWindowTextA(edit, "1000");
    SendMessageA(edit, WM_KEYDOWN, VK_DOWN, 1);
    EXPECT_EQ(textOf(edit), "1000") << "stops at the lower bound";
    SendMessageA(updown, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 25)); // lower half: down
    EXPECT_EQ(textOf(edit), "1000");
    SetWindowTextA(edit, "44999");
    SendMessageA(edit, WM_KEYDOWN, VK_UP, 1);
    SendMessageA(edit, WM_KEYDOWN, VK_UP, 1);
    EXPECT_EQ(textOf(edit), "45000") << "no thousands separator";

    // The packed range: upper bound in the low word.
    SendMessageA(updown, UDM_SETRANGE, 0, MAKELPARAM(12700, 3400));
    int lower = 0, upper = 0;
    SendMessageA(updown, UDM_GETRANGE32, reinterpret_cast<WPARAM>(&lower),
                 reinterpret_cast<LPARAM>(&upper));
    EXPECT_EQ(lower, 3400);
    EXPECT_EQ(upper, 12700);
}

// A person's clicks on the arrows: the press steps at once and gives the edit box the focus, the
// release ends the scroll and selects the box's text; held down, the arrow repeats.
TEST_F(ControlsTest, UpDownArrowsStepOnThePressAndRepeatWhileHeld) {
    HWND edit = child("EDIT", "", ES_NUMBER, 110, 33, 56, 165, 28);
    HWND other = child("EDIT", "", 0, 112, 33, 100, 165, 28);
    HWND updown = CreateUpDownControl(WS_CHILD | WS_VISIBLE | UDS_SETBUDDYINT | UDS_ALIGNLEFT |
                                          UDS_ARROWKEYS | UDS_NOTHOUSANDS,
                                      0, 0, 20, 20, parent, 111, nullptr, edit, 9000, 1000, 2000);
    SetFocus(other);
    drain();
    RECT r{};
    GetWindowRect(updown, &r);
    const POINT up{(r.left + r.right) / 2, r.top + 6};
    clickAt(up);
    drain();
    EXPECT_EQ(textOf(edit), "2001");
    EXPECT_EQ(GetFocus(), edit);
    DWORD from = 1, to = 0;
    SendMessageA(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&from), reinterpret_cast<LPARAM>(&to));
    EXPECT_EQ(from, 0u);
    EXPECT_EQ(to, 4u) << "the release selects the text";
    EXPECT_EQ(g_scrolls, (std::vector<int>{SB_THUMBPOSITION, SB_ENDSCROLL}));

    INPUT press{};
    press.type = INPUT_MOUSE;
    press.mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    SendInput(1, &press, sizeof press);
    const DWORD until = GetTickCount() + 900;
    while (GetTickCount() < until) {
        drain();
        Sleep(10);
    }
    press.mi.dwFlags = MOUSEEVENTF_LEFTUP;
    SendInput(1, &press, sizeof press);
    drain();
    const int held = std::stoi(textOf(edit));
    EXPECT_GT(held, 2003) << "the held arrow repeats";
    Sleep(300);
    drain();
    EXPECT_EQ(std::stoi(textOf(edit)), held) << "and stops when let go";
}

TEST_F(ControlsTest, BitmapStaticShowsItsResourceAndSwapsImages) {
    HWND flag = child("STATIC", "#147", SS_BITMAP | SS_NOTIFY, 123, 3, 3, 0, 0);
    const HBITMAP english =
        reinterpret_cast<HBITMAP>(SendMessageA(flag, STM_GETIMAGE, IMAGE_BITMAP, 0));
    ASSERT_NE(english, nullptr);
    RECT r{};
    GetClientRect(flag, &r);
    EXPECT_EQ(r.right, 18);
    EXPECT_EQ(r.bottom, 12);
    const HBITMAP russian = LoadBitmapA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(149));
    ASSERT_NE(russian, nullptr);
    EXPECT_EQ(reinterpret_cast<HBITMAP>(SendMessageA(flag, STM_SETIMAGE, IMAGE_BITMAP,
                                                     reinterpret_cast<LPARAM>(russian))),
              english);
    EXPECT_EQ(reinterpret_cast<HBITMAP>(SendMessageA(flag, STM_SETIMAGE, IMAGE_BITMAP,
                                                     reinterpret_cast<LPARAM>(english))),
              russian);
}

TEST_F(ControlsTest, NotifyingStaticSaysClickedOnThePressAndDoubleClickedOnTheSecond) {
    using Commands = std::vector<std::pair<int, int>>;
    const Commands clicked{{123, STN_CLICKED}};
    const Commands twice{{123, STN_CLICKED}, {123, STN_DBLCLK}};
    struct Row {
        DWORD style;
        int clicks;
        Commands commands;
    };
    const Row rows[] = {
        {SS_NOTIFY, 1, clicked},
        {SS_NOTIFY, 2, twice},
        {0, 2, {}}, // without SS_NOTIFY the clicks are the parent's
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(testing::Message() << row.style << " x" << row.clicks);
        HWND flag = child("STATIC", "#147", SS_BITMAP | row.style, 123, 3, 3, 0, 0);
        drain();
        g_commands.clear();
        clickAt(middleOf(flag), row.clicks);
        drain();
        EXPECT_EQ(g_commands, row.commands);
        DestroyWindow(flag);
    }
    // The messages themselves, as another program would send them.
    HWND flag = child("STATIC", "#147", SS_BITMAP | SS_NOTIFY, 123, 3, 3, 0, 0);
    g_commands.clear();
    SendMessageA(flag, WM_LBUTTONUP, 0, 0);
    SendMessageA(flag, WM_LBUTTONDBLCLK, MK_LBUTTON, 0);
    SendMessageA(flag, WM_LBUTTONDOWN, MK_LBUTTON, 0);
    EXPECT_EQ(g_commands, (Commands{{123, STN_DBLCLK}, {123, STN_CLICKED}}));
}

TEST_F(ControlsTest, DropDownComboBoxKeepsOrderAndSelection) {
    HWND combo =
        child("COMBOBOX", "", WS_VSCROLL | WS_HSCROLL | CBS_DROPDOWN, 128, 33, 56, 264, 640);
    EXPECT_EQ(SendMessageA(combo, CB_GETCURSEL, 0, 0), CB_ERR);
    EXPECT_EQ(SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>("Zeta")), 0);
    EXPECT_EQ(SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>("Alpha")), 1);
    EXPECT_EQ(SendMessageA(combo, CB_GETCURSEL, 0, 0), CB_ERR) << "adding selects nothing";
    EXPECT_EQ(textOf(combo), "");
    SendMessageA(combo, CB_SETHORIZONTALEXTENT, 600, 0);
    EXPECT_EQ(SendMessageA(combo, CB_GETHORIZONTALEXTENT, 0, 0), 600);
    RECT r{};
    GetWindowRect(combo, &r);
    EXPECT_LT(r.bottom - r.top, 640) << "the height given is the dropped-down list's";
    EXPECT_EQ(SendMessageA(combo, CB_SETCURSEL, 1, 0), 1);
    ShowWindow(combo, SW_HIDE);
    ShowWindow(combo, SW_SHOW);
    EXPECT_EQ(SendMessageA(combo, CB_GETCURSEL, 0, 0), 1);
    EXPECT_EQ(textOf(combo), "Alpha");
    char item[16] = {};
    EXPECT_EQ(SendMessageA(combo, CB_GETLBTEXT, 0, reinterpret_cast<LPARAM>(item)), 4);
    EXPECT_STREQ(item, "Zeta");
    EXPECT_EQ(SendMessageA(combo, CB_SETCURSEL, 7, 0), CB_ERR);
    EXPECT_EQ(SendMessageA(combo, CB_GETCURSEL, 0, 0), CB_ERR);
}

} // namespace
