// Win32 subset for Linux: the base types, handles, structures, constants and the USER32, GDI32
// and KERNEL32 entry points that Vintorel uses, with the names, layouts and values of the
// Windows SDK. Implemented by the platform layer (platform/user32, gdi32, kernel32) on Qt 6 and
// POSIX. Not implemented: anything the program does not call, wide-character (W) functions,
// multiple threads with their own queues, window regions and non-client painting.
#pragma once

#include <cstddef>
#include <cstdint>

#define WINAPI
#define CALLBACK
#define APIENTRY
#define STDMETHODCALLTYPE
#define STDAPICALLTYPE

#ifndef VINTOREL_WIN32_API
#define VINTOREL_WIN32_API extern "C"
#endif

#ifndef TRUE
#define FALSE 0
#define TRUE 1
#endif

typedef int BOOL;
typedef uint8_t BYTE;
typedef uint8_t BOOLEAN;
typedef uint16_t WORD;
typedef uint32_t DWORD;
typedef int32_t LONG;
typedef uint32_t ULONG;
typedef int16_t SHORT;
typedef uint16_t USHORT;
typedef int INT;
typedef uint32_t UINT;
typedef char CHAR;
typedef unsigned char UCHAR;
typedef float FLOAT;
typedef int64_t LONGLONG;
typedef uint64_t ULONGLONG;
typedef int64_t LONG64;
typedef intptr_t INT_PTR;
typedef uintptr_t UINT_PTR;
typedef intptr_t LONG_PTR;
typedef uintptr_t ULONG_PTR;
typedef ULONG_PTR DWORD_PTR;
typedef ULONG_PTR SIZE_T;
typedef UINT_PTR WPARAM;
typedef LONG_PTR LPARAM;
typedef LONG_PTR LRESULT;
typedef LONG HRESULT;
typedef DWORD COLORREF;
typedef WORD ATOM;
typedef void VOID;
typedef void *PVOID;
typedef void *LPVOID;
typedef const void *LPCVOID;
typedef char *LPSTR;
typedef const char *LPCSTR;
typedef BYTE *LPBYTE;
typedef DWORD *LPDWORD;
typedef LONG *LPLONG;
typedef BOOL *LPBOOL;
typedef void *HANDLE;
typedef HANDLE *LPHANDLE;

#define DECLARE_HANDLE(name)                                                                       \
    struct name##__ {                                                                              \
        int unused;                                                                                \
    };                                                                                             \
    typedef struct name##__ *name

DECLARE_HANDLE(HWND);
DECLARE_HANDLE(HINSTANCE);
DECLARE_HANDLE(HICON);
DECLARE_HANDLE(HBRUSH);
DECLARE_HANDLE(HFONT);
DECLARE_HANDLE(HBITMAP);
DECLARE_HANDLE(HDC);
DECLARE_HANDLE(HMENU);
DECLARE_HANDLE(HPEN);
DECLARE_HANDLE(HRGN);
typedef HICON HCURSOR;
typedef HINSTANCE HMODULE;
typedef void *HGDIOBJ;

#define MAKEWORD(a, b)                                                                             \
    ((WORD)(((BYTE)((DWORD_PTR)(a)&0xff)) | ((WORD)((BYTE)((DWORD_PTR)(b)&0xff))) << 8))
#define MAKELONG(a, b)                                                                             \
    ((LONG)(((WORD)((DWORD_PTR)(a)&0xffff)) | ((DWORD)((WORD)((DWORD_PTR)(b)&0xffff))) << 16))
#define LOWORD(l) ((WORD)((DWORD_PTR)(l)&0xffff))
#define HIWORD(l) ((WORD)((DWORD_PTR)(l) >> 16))
#define LOBYTE(w) ((BYTE)((DWORD_PTR)(w)&0xff))
#define MAKEWPARAM(l, h) ((WPARAM)(DWORD)MAKELONG(l, h))
#define MAKELPARAM(l, h) ((LPARAM)(DWORD)MAKELONG(l, h))
#define MAKELRESULT(l, h) ((LRESULT)(DWORD)MAKELONG(l, h))
#define GET_X_LPARAM(lp) ((int)(short)LOWORD(lp))
#define GET_Y_LPARAM(lp) ((int)(short)HIWORD(lp))
#define RGB(r, g, b)                                                                               \
    ((COLORREF)(((BYTE)(r) | ((WORD)((BYTE)(g)) << 8)) | (((DWORD)(BYTE)(b)) << 16)))
#define GetRValue(rgb) (LOBYTE(rgb))
#define GetGValue(rgb) (LOBYTE(((WORD)(rgb)) >> 8))
#define GetBValue(rgb) (LOBYTE((rgb) >> 16))

#define IS_INTRESOURCE(r) ((((ULONG_PTR)(r)) >> 16) == 0)
#define MAKEINTRESOURCEA(i) ((LPSTR)((ULONG_PTR)((WORD)(i))))
#define MAKEINTRESOURCE MAKEINTRESOURCEA

// ---------------------------------------------------------------------------------------------
// Errors (winerror.h)

#define SUCCEEDED(hr) (((HRESULT)(hr)) >= 0)
#define FAILED(hr) (((HRESULT)(hr)) < 0)
#define S_OK ((HRESULT)0)
#define S_FALSE ((HRESULT)1)
#define E_NOTIMPL ((HRESULT)0x80004001L)
#define E_NOINTERFACE ((HRESULT)0x80004002L)
#define E_POINTER ((HRESULT)0x80004003L)
#define E_ABORT ((HRESULT)0x80004004L)
#define E_FAIL ((HRESULT)0x80004005L)
#define E_UNEXPECTED ((HRESULT)0x8000FFFFL)
#define E_OUTOFMEMORY ((HRESULT)0x8007000EL)
#define E_INVALIDARG ((HRESULT)0x80070057L)
#define CLASS_E_NOAGGREGATION ((HRESULT)0x80040110L)
#define CLASS_E_CLASSNOTAVAILABLE ((HRESULT)0x80040111L)
#define REGDB_E_CLASSNOTREG ((HRESULT)0x80040154L)
#define CO_E_NOTINITIALIZED ((HRESULT)0x800401F0L)
#define RPC_E_CHANGED_MODE ((HRESULT)0x80010106L)
#define CO_E_DLLNOTFOUND ((HRESULT)0x800401F8L)
#define CO_E_ERRORINDLL ((HRESULT)0x800401F9L)
#define CO_E_OBJNOTREG ((HRESULT)0x800401FBL)

#define ERROR_SUCCESS 0L
#define ERROR_FILE_NOT_FOUND 2L
#define ERROR_PATH_NOT_FOUND 3L
#define ERROR_ACCESS_DENIED 5L
#define ERROR_INVALID_HANDLE 6L
#define ERROR_NOT_ENOUGH_MEMORY 8L
#define ERROR_NO_MORE_FILES 18L
#define ERROR_SHARING_VIOLATION 32L
#define ERROR_FILE_EXISTS 80L
#define ERROR_INVALID_PARAMETER 87L
#define ERROR_ALREADY_EXISTS 183L
#define ERROR_INVALID_WINDOW_HANDLE 1400L
#define ERROR_INVALID_INDEX 1413L
#define ERROR_CANNOT_FIND_WND_CLASS 1407L
#define ERROR_CLASS_ALREADY_EXISTS 1410L
#define ERROR_RESOURCE_NAME_NOT_FOUND 1814L

// ---------------------------------------------------------------------------------------------
// Structures

typedef struct tagPOINT {
    LONG x;
    LONG y;
} POINT, *LPPOINT;

typedef struct tagSIZE {
    LONG cx;
    LONG cy;
} SIZE, *LPSIZE;

typedef struct tagRECT {
    LONG left;
    LONG top;
    LONG right;
    LONG bottom;
} RECT, *LPRECT;
typedef const RECT *LPCRECT;

typedef struct tagMOUSEINPUT {
    LONG dx;
    LONG dy;
    DWORD mouseData;
    DWORD dwFlags;
    DWORD time;
    ULONG_PTR dwExtraInfo;
} MOUSEINPUT;

typedef struct tagKEYBDINPUT {
    WORD wVk;
    WORD wScan;
    DWORD dwFlags;
    DWORD time;
    ULONG_PTR dwExtraInfo;
} KEYBDINPUT;

typedef struct tagINPUT {
    DWORD type;
    union {
        MOUSEINPUT mi;
        KEYBDINPUT ki;
    };
} INPUT, *LPINPUT;

typedef LRESULT(CALLBACK *WNDPROC)(HWND, UINT, WPARAM, LPARAM);
typedef void(CALLBACK *TIMERPROC)(HWND, UINT, UINT_PTR, DWORD);

typedef struct tagWNDCLASSA {
    UINT style;
    WNDPROC lpfnWndProc;
    int cbClsExtra;
    int cbWndExtra;
    HINSTANCE hInstance;
    HICON hIcon;
    HCURSOR hCursor;
    HBRUSH hbrBackground;
    LPCSTR lpszMenuName;
    LPCSTR lpszClassName;
} WNDCLASSA, *LPWNDCLASSA;

typedef struct tagCREATESTRUCTA {
    LPVOID lpCreateParams;
    HINSTANCE hInstance;
    HMENU hMenu;
    HWND hwndParent;
    int cy;
    int cx;
    int y;
    int x;
    LONG style;
    LPCSTR lpszName;
    LPCSTR lpszClass;
    DWORD dwExStyle;
} CREATESTRUCTA, *LPCREATESTRUCTA;

typedef struct tagMSG {
    HWND hwnd;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    DWORD time;
    POINT pt;
} MSG, *LPMSG;

typedef struct tagPAINTSTRUCT {
    HDC hdc;
    BOOL fErase;
    RECT rcPaint;
    BOOL fRestore;
    BOOL fIncUpdate;
    BYTE rgbReserved[32];
} PAINTSTRUCT, *LPPAINTSTRUCT;

// ---------------------------------------------------------------------------------------------
// Window messages

#define WM_NULL 0x0000
#define WM_CREATE 0x0001
#define WM_DESTROY 0x0002
#define WM_MOVE 0x0003
#define WM_SIZE 0x0005
#define WM_ACTIVATE 0x0006
#define WM_SETFOCUS 0x0007
#define WM_KILLFOCUS 0x0008
#define WM_ENABLE 0x000A
#define WM_SETREDRAW 0x000B
#define WM_SETTEXT 0x000C
#define WM_GETTEXT 0x000D
#define WM_GETTEXTLENGTH 0x000E
#define WM_PAINT 0x000F
#define WM_CLOSE 0x0010
#define WM_QUIT 0x0012
#define WM_ERASEBKGND 0x0014
#define WM_SHOWWINDOW 0x0018
#define WM_SETCURSOR 0x0020
#define WM_SETFONT 0x0030
#define WM_GETFONT 0x0031
#define WM_NCCREATE 0x0081
#define WM_NCDESTROY 0x0082
#define WM_KEYDOWN 0x0100
#define WM_KEYUP 0x0101
#define WM_CHAR 0x0102
#define WM_SYSKEYDOWN 0x0104
#define WM_SYSKEYUP 0x0105
#define WM_COMMAND 0x0111
#define WM_SYSCOMMAND 0x0112
#define WM_TIMER 0x0113
#define WM_HSCROLL 0x0114
#define WM_VSCROLL 0x0115
#define SB_THUMBPOSITION 4
#define SB_ENDSCROLL 8
#define WM_CTLCOLOREDIT 0x0133
#define WM_CTLCOLORBTN 0x0135
#define WM_CTLCOLORSTATIC 0x0138
#define WM_MOUSEMOVE 0x0200
#define WM_CAPTURECHANGED 0x0215
#define WM_LBUTTONDOWN 0x0201
#define WM_LBUTTONUP 0x0202
#define WM_LBUTTONDBLCLK 0x0203
#define WM_RBUTTONDOWN 0x0204
#define WM_RBUTTONUP 0x0205
#define WM_USER 0x0400

#define SC_CLOSE 0xF060

// WM_ACTIVATE
#define WA_INACTIVE 0
#define WA_ACTIVE 1
#define WA_CLICKACTIVE 2

// Synthesised input (SendInput)
#define INPUT_MOUSE 0
#define INPUT_KEYBOARD 1
#define KEYEVENTF_KEYUP 0x0002
#define MOUSEEVENTF_MOVE 0x0001
#define MOUSEEVENTF_LEFTDOWN 0x0002
#define MOUSEEVENTF_LEFTUP 0x0004
#define MOUSEEVENTF_ABSOLUTE 0x8000

#define MK_LBUTTON 0x0001

// Window styles
#define WS_OVERLAPPED 0x00000000L
#define WS_POPUP 0x80000000L
#define WS_CHILD 0x40000000L
#define WS_MINIMIZE 0x20000000L
#define WS_VISIBLE 0x10000000L
#define WS_EX_TOPMOST 0x00000008L
#define WS_EX_TOOLWINDOW 0x00000080L
#define WS_DISABLED 0x08000000L
#define WS_CLIPSIBLINGS 0x04000000L
#define WS_CLIPCHILDREN 0x02000000L
#define WS_MAXIMIZE 0x01000000L
#define WS_CAPTION 0x00C00000L
#define WS_BORDER 0x00800000L
#define WS_DLGFRAME 0x00400000L
#define WS_VSCROLL 0x00200000L
#define WS_HSCROLL 0x00100000L
#define WS_SYSMENU 0x00080000L
#define WS_THICKFRAME 0x00040000L
#define WS_GROUP 0x00020000L
#define WS_TABSTOP 0x00010000L
#define WS_MINIMIZEBOX 0x00020000L
#define WS_MAXIMIZEBOX 0x00010000L
#define WS_OVERLAPPEDWINDOW                                                                        \
    (WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX)

#define CW_USEDEFAULT ((int)0x80000000)

// Class styles
#define CS_VREDRAW 0x0001
#define CS_HREDRAW 0x0002
#define CS_DBLCLKS 0x0008
#define CS_OWNDC 0x0020
#define CS_CLASSDC 0x0040
#define CS_PARENTDC 0x0080

// ShowWindow
#define SW_HIDE 0
#define SW_SHOWNORMAL 1
#define SW_NORMAL 1
#define SW_SHOWMINIMIZED 2
#define SW_SHOWMAXIMIZED 3
#define SW_SHOWNOACTIVATE 4
#define SW_SHOW 5
#define SW_MINIMIZE 6
#define SW_SHOWMINNOACTIVE 7
#define SW_SHOWNA 8
#define SW_RESTORE 9
#define SW_SHOWDEFAULT 10

// GetSystemMetrics
#define SM_CXSCREEN 0
#define SM_CYSCREEN 1
#define SM_CXVSCROLL 2
#define SM_CYCAPTION 4
#define SM_CXBORDER 5
#define SM_CYBORDER 6
#define SM_CXDLGFRAME 7
#define SM_CYDLGFRAME 8
#define SM_CXFIXEDFRAME SM_CXDLGFRAME
#define SM_CYFIXEDFRAME SM_CYDLGFRAME
#define SM_CXICON 11
#define SM_CYICON 12
#define SM_CXDOUBLECLK 36
#define SM_CYDOUBLECLK 37
#define SM_CXSMICON 49
#define SM_CYSMICON 50

// MessageBox
#define MB_OK 0x00000000L
#define MB_OKCANCEL 0x00000001L
#define MB_YESNOCANCEL 0x00000003L
#define MB_YESNO 0x00000004L
#define MB_ICONHAND 0x00000010L
#define MB_ICONERROR MB_ICONHAND
#define MB_ICONQUESTION 0x00000020L
#define MB_ICONEXCLAMATION 0x00000030L
#define MB_ICONWARNING MB_ICONEXCLAMATION
#define MB_ICONASTERISK 0x00000040L
#define MB_ICONINFORMATION MB_ICONASTERISK
#define MB_TYPEMASK 0x0000000FL
#define MB_ICONMASK 0x000000F0L
#define IDOK 1
#define IDCANCEL 2
#define IDYES 6
#define IDNO 7

// Virtual keys
#define VK_BACK 0x08
#define VK_TAB 0x09
#define VK_RETURN 0x0D
#define VK_SHIFT 0x10
#define VK_CONTROL 0x11
#define VK_ESCAPE 0x1B
#define VK_SPACE 0x20
#define VK_PRIOR 0x21
#define VK_NEXT 0x22
#define VK_END 0x23
#define VK_HOME 0x24
#define VK_LEFT 0x25
#define VK_UP 0x26
#define VK_RIGHT 0x27
#define VK_DOWN 0x28
#define VK_DELETE 0x2E
#define VK_F1 0x70

// Stock resources
#define IDI_APPLICATION MAKEINTRESOURCEA(32512)
#define IDC_ARROW MAKEINTRESOURCEA(32512)
#define IMAGE_BITMAP 0
#define IMAGE_ICON 1
#define IMAGE_CURSOR 2
#define LR_DEFAULTCOLOR 0x00000000
#define LR_DEFAULTSIZE 0x00000040
#define LR_SHARED 0x00008000

// PeekMessage
#define PM_NOREMOVE 0x0000
#define PM_REMOVE 0x0001

// SetWindowPos / RedrawWindow flags used by the platform's own code and tests
#define GWL_STYLE (-16)
#define GWL_ID (-12)
#define GWLP_ID (-12)
#define GWLP_WNDPROC (-4)
#define GWLP_USERDATA (-21)

#define USER_TIMER_MINIMUM 0x0000000A
#define USER_TIMER_MAXIMUM 0x7FFFFFFF

// Standard controls (BUTTON, EDIT, STATIC, COMBOBOX)
#define BS_PUSHBUTTON 0x00000000L
#define BS_DEFPUSHBUTTON 0x00000001L
#define BS_CHECKBOX 0x00000002L
#define BS_AUTOCHECKBOX 0x00000003L
#define BS_RADIOBUTTON 0x00000004L
#define BS_AUTORADIOBUTTON 0x00000009L
#define BS_TYPEMASK 0x0000000FL
#define BM_GETCHECK 0x00F0
#define BM_SETCHECK 0x00F1
#define BM_CLICK 0x00F5
#define BST_UNCHECKED 0x0000
#define BST_CHECKED 0x0001
#define BN_CLICKED 0
#define BN_SETFOCUS 6
#define BN_KILLFOCUS 7

#define ES_LEFT 0x0000L
#define ES_CENTER 0x0001L
#define ES_RIGHT 0x0002L
#define ES_AUTOHSCROLL 0x0080L
#define ES_NUMBER 0x2000L
#define EM_GETSEL 0x00B0
#define EM_SETSEL 0x00B1
#define EM_LIMITTEXT 0x00C5
#define EM_SETLIMITTEXT EM_LIMITTEXT
#define EM_GETLIMITTEXT 0x00D5
#define EM_SETMARGINS 0x00D3
#define EM_GETMARGINS 0x00D4
#define EC_LEFTMARGIN 0x0001
#define EC_RIGHTMARGIN 0x0002
#define EN_SETFOCUS 0x0100
#define EN_KILLFOCUS 0x0200
#define EN_CHANGE 0x0300
#define EN_UPDATE 0x0400
#define EN_MAXTEXT 0x0501

#define SS_LEFT 0x00000000L
#define SS_BITMAP 0x0000000EL
#define SS_TYPEMASK 0x0000001FL
#define SS_NOTIFY 0x00000100L
#define STM_SETIMAGE 0x0172
#define STM_GETIMAGE 0x0173
#define STN_CLICKED 0
#define STN_DBLCLK 1

#define CBS_SIMPLE 0x0001L
#define CBS_DROPDOWN 0x0002L
#define CBS_DROPDOWNLIST 0x0003L
#define CBS_SORT 0x0100L
#define CB_ERR (-1)
#define CB_ERRSPACE (-2)
#define CB_GETEDITSEL 0x0140
#define CB_LIMITTEXT 0x0141
#define CB_ADDSTRING 0x0143
#define CB_DELETESTRING 0x0144
#define CB_GETCOUNT 0x0146
#define CB_GETCURSEL 0x0147
#define CB_GETLBTEXT 0x0148
#define CB_GETLBTEXTLEN 0x0149
#define CB_SETCURSEL 0x014E
#define CB_SHOWDROPDOWN 0x014F
#define CB_GETITEMHEIGHT 0x0154
#define CB_GETDROPPEDSTATE 0x0157
#define CB_GETHORIZONTALEXTENT 0x015D
#define CB_SETHORIZONTALEXTENT 0x015E
#define CBN_SELCHANGE 1
#define CBN_DBLCLK 2
#define CBN_SETFOCUS 3
#define CBN_KILLFOCUS 4
#define CBN_EDITCHANGE 5
#define CBN_EDITUPDATE 6
#define CBN_DROPDOWN 7
#define CBN_CLOSEUP 8
#define CBN_SELENDOK 9
typedef struct tagCOMBOBOXINFO {
    DWORD cbSize;
    RECT rcItem;
    RECT rcButton;
    DWORD stateButton;
    HWND hwndCombo;
    HWND hwndItem;
    HWND hwndList;
} COMBOBOXINFO, *PCOMBOBOXINFO, *LPCOMBOBOXINFO;

// ---------------------------------------------------------------------------------------------
// USER32

VINTOREL_WIN32_API ATOM WINAPI RegisterClassA(const WNDCLASSA *wndClass);
VINTOREL_WIN32_API BOOL WINAPI UnregisterClassA(LPCSTR className, HINSTANCE instance);
VINTOREL_WIN32_API HWND WINAPI CreateWindowExA(DWORD exStyle, LPCSTR className, LPCSTR windowName,
                                               DWORD style, int x, int y, int width, int height,
                                               HWND parent, HMENU menu, HINSTANCE instance,
                                               LPVOID param);
#define CreateWindowA(cls, name, style, x, y, w, h, parent, menu, inst, param)                     \
    CreateWindowExA(0L, cls, name, style, x, y, w, h, parent, menu, inst, param)
VINTOREL_WIN32_API BOOL WINAPI DestroyWindow(HWND hwnd);
VINTOREL_WIN32_API BOOL WINAPI IsWindow(HWND hwnd);
VINTOREL_WIN32_API BOOL WINAPI IsWindowVisible(HWND hwnd);
VINTOREL_WIN32_API BOOL WINAPI IsWindowEnabled(HWND hwnd);
VINTOREL_WIN32_API BOOL WINAPI ShowWindow(HWND hwnd, int cmdShow);
VINTOREL_WIN32_API BOOL WINAPI UpdateWindow(HWND hwnd);
VINTOREL_WIN32_API BOOL WINAPI EnableWindow(HWND hwnd, BOOL enable);
VINTOREL_WIN32_API HWND WINAPI SetFocus(HWND hwnd);
VINTOREL_WIN32_API HWND WINAPI GetFocus(void);
VINTOREL_WIN32_API HWND WINAPI GetActiveWindow(void);
VINTOREL_WIN32_API HWND WINAPI GetParent(HWND hwnd);
VINTOREL_WIN32_API HWND WINAPI GetDlgItem(HWND parent, int id);
VINTOREL_WIN32_API int WINAPI GetDlgCtrlID(HWND hwnd);
VINTOREL_WIN32_API HWND WINAPI FindWindowA(LPCSTR className, LPCSTR windowName);
VINTOREL_WIN32_API LONG WINAPI GetWindowLongA(HWND hwnd, int index);
VINTOREL_WIN32_API LONG_PTR WINAPI GetWindowLongPtrA(HWND hwnd, int index);
VINTOREL_WIN32_API LONG_PTR WINAPI SetWindowLongPtrA(HWND hwnd, int index, LONG_PTR value);
VINTOREL_WIN32_API BOOL WINAPI SetPropA(HWND hwnd, LPCSTR name, HANDLE data);
VINTOREL_WIN32_API HANDLE WINAPI GetPropA(HWND hwnd, LPCSTR name);
VINTOREL_WIN32_API HANDLE WINAPI RemovePropA(HWND hwnd, LPCSTR name);
VINTOREL_WIN32_API HWND WINAPI SetCapture(HWND hwnd);
VINTOREL_WIN32_API BOOL WINAPI ReleaseCapture(void);
VINTOREL_WIN32_API HWND WINAPI GetCapture(void);
VINTOREL_WIN32_API BOOL WINAPI MoveWindow(HWND hwnd, int x, int y, int width, int height,
                                          BOOL repaint);
VINTOREL_WIN32_API BOOL WINAPI GetClientRect(HWND hwnd, LPRECT rect);
VINTOREL_WIN32_API BOOL WINAPI GetWindowRect(HWND hwnd, LPRECT rect);
VINTOREL_WIN32_API BOOL WINAPI AdjustWindowRect(LPRECT rect, DWORD style, BOOL menu);
VINTOREL_WIN32_API BOOL WINAPI ScreenToClient(HWND hwnd, LPPOINT point);
VINTOREL_WIN32_API BOOL WINAPI ClientToScreen(HWND hwnd, LPPOINT point);
VINTOREL_WIN32_API int WINAPI GetClassNameA(HWND hwnd, LPSTR name, int maxCount);
VINTOREL_WIN32_API int WINAPI GetSystemMetrics(int index);
VINTOREL_WIN32_API BOOL WINAPI GetComboBoxInfo(HWND combo, PCOMBOBOXINFO info);
VINTOREL_WIN32_API UINT WINAPI SendInput(UINT count, LPINPUT inputs, int size);
VINTOREL_WIN32_API BOOL WINAPI SetCursorPos(int x, int y);
VINTOREL_WIN32_API BOOL WINAPI GetCursorPos(LPPOINT point);
VINTOREL_WIN32_API UINT WINAPI GetDoubleClickTime(void);
VINTOREL_WIN32_API BOOL WINAPI SetWindowTextA(HWND hwnd, LPCSTR text);
VINTOREL_WIN32_API int WINAPI GetWindowTextA(HWND hwnd, LPSTR text, int maxCount);
VINTOREL_WIN32_API int WINAPI GetWindowTextLengthA(HWND hwnd);
VINTOREL_WIN32_API LRESULT WINAPI DefWindowProcA(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
VINTOREL_WIN32_API LRESULT WINAPI CallWindowProcA(WNDPROC proc, HWND hwnd, UINT msg, WPARAM wParam,
                                                  LPARAM lParam);
VINTOREL_WIN32_API LRESULT WINAPI SendMessageA(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
VINTOREL_WIN32_API BOOL WINAPI PostMessageA(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
VINTOREL_WIN32_API void WINAPI PostQuitMessage(int exitCode);
VINTOREL_WIN32_API BOOL WINAPI GetMessageA(LPMSG msg, HWND hwnd, UINT filterMin, UINT filterMax);
VINTOREL_WIN32_API BOOL WINAPI PeekMessageA(LPMSG msg, HWND hwnd, UINT filterMin, UINT filterMax,
                                            UINT removeMsg);
VINTOREL_WIN32_API BOOL WINAPI TranslateMessage(const MSG *msg);
VINTOREL_WIN32_API LRESULT WINAPI DispatchMessageA(const MSG *msg);
VINTOREL_WIN32_API UINT_PTR WINAPI SetTimer(HWND hwnd, UINT_PTR id, UINT elapse,
                                            TIMERPROC timerFunc);
VINTOREL_WIN32_API BOOL WINAPI KillTimer(HWND hwnd, UINT_PTR id);
VINTOREL_WIN32_API int WINAPI MessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT type);
VINTOREL_WIN32_API BOOL WINAPI InvalidateRect(HWND hwnd, const RECT *rect, BOOL erase);
VINTOREL_WIN32_API BOOL WINAPI ValidateRect(HWND hwnd, const RECT *rect);
VINTOREL_WIN32_API BOOL WINAPI GetUpdateRect(HWND hwnd, LPRECT rect, BOOL erase);
VINTOREL_WIN32_API HDC WINAPI BeginPaint(HWND hwnd, LPPAINTSTRUCT paint);
VINTOREL_WIN32_API BOOL WINAPI EndPaint(HWND hwnd, const PAINTSTRUCT *paint);
VINTOREL_WIN32_API HDC WINAPI GetDC(HWND hwnd);
VINTOREL_WIN32_API int WINAPI ReleaseDC(HWND hwnd, HDC dc);
VINTOREL_WIN32_API HICON WINAPI LoadIconA(HINSTANCE instance, LPCSTR name);
VINTOREL_WIN32_API HCURSOR WINAPI LoadCursorA(HINSTANCE instance, LPCSTR name);
VINTOREL_WIN32_API HBITMAP WINAPI LoadBitmapA(HINSTANCE instance, LPCSTR name);
VINTOREL_WIN32_API HANDLE WINAPI LoadImageA(HINSTANCE instance, LPCSTR name, UINT type, int cx,
                                            int cy, UINT flags);
VINTOREL_WIN32_API BOOL WINAPI DestroyIcon(HICON icon);
VINTOREL_WIN32_API int WINAPI FillRect(HDC dc, const RECT *rect, HBRUSH brush);
VINTOREL_WIN32_API int WINAPI FrameRect(HDC dc, const RECT *rect, HBRUSH brush);
VINTOREL_WIN32_API int WINAPI DrawTextA(HDC dc, LPCSTR text, int count, LPRECT rect, UINT format);
VINTOREL_WIN32_API BOOL WINAPI SetRect(LPRECT rect, int left, int top, int right, int bottom);
VINTOREL_WIN32_API BOOL WINAPI IsRectEmpty(const RECT *rect);
VINTOREL_WIN32_API BOOL WINAPI PtInRect(const RECT *rect, POINT point);
VINTOREL_WIN32_API BOOL WINAPI DrawFrameControl(HDC dc, LPRECT rect, UINT type, UINT state);

// DrawFrameControl
#define DFC_SCROLL 3
#define DFCS_SCROLLUP 0x0000
#define DFCS_SCROLLDOWN 0x0001
#define DFCS_SCROLLLEFT 0x0002
#define DFCS_SCROLLRIGHT 0x0003
#define DFCS_INACTIVE 0x0100
#define DFCS_PUSHED 0x0200

// DrawText formats
#define DT_TOP 0x00000000
#define DT_LEFT 0x00000000
#define DT_CENTER 0x00000001
#define DT_RIGHT 0x00000002
#define DT_VCENTER 0x00000004
#define DT_BOTTOM 0x00000008
#define DT_WORDBREAK 0x00000010
#define DT_SINGLELINE 0x00000020
#define DT_EXPANDTABS 0x00000040
#define DT_NOCLIP 0x00000100
#define DT_CALCRECT 0x00000400
#define DT_NOPREFIX 0x00000800

// ---------------------------------------------------------------------------------------------
// GDI32

#define CLR_INVALID 0xFFFFFFFF
#define TRANSPARENT 1
#define OPAQUE 2
#define LF_FACESIZE 32
#define FW_DONTCARE 0
#define FW_LIGHT 300
#define FW_NORMAL 400
#define FW_SEMIBOLD 600
#define FW_BOLD 700
#define ANSI_CHARSET 0
#define DEFAULT_CHARSET 1
#define RUSSIAN_CHARSET 204
#define OBJ_BRUSH 2
#define OBJ_FONT 6
#define OBJ_BITMAP 7
#define WHITE_BRUSH 0
#define BLACK_BRUSH 4
#define NULL_BRUSH 5
#define SYSTEM_FONT 13
#define DEFAULT_GUI_FONT 17

typedef struct tagLOGFONTA {
    LONG lfHeight;
    LONG lfWidth;
    LONG lfEscapement;
    LONG lfOrientation;
    LONG lfWeight;
    BYTE lfItalic;
    BYTE lfUnderline;
    BYTE lfStrikeOut;
    BYTE lfCharSet;
    BYTE lfOutPrecision;
    BYTE lfClipPrecision;
    BYTE lfQuality;
    BYTE lfPitchAndFamily;
    CHAR lfFaceName[LF_FACESIZE];
} LOGFONTA, *LPLOGFONTA;

typedef struct tagBITMAP {
    LONG bmType;
    LONG bmWidth;
    LONG bmHeight;
    LONG bmWidthBytes;
    WORD bmPlanes;
    WORD bmBitsPixel;
    LPVOID bmBits;
} BITMAP, *LPBITMAP;

VINTOREL_WIN32_API HBRUSH WINAPI CreateSolidBrush(COLORREF color);
VINTOREL_WIN32_API HFONT WINAPI CreateFontIndirectA(const LOGFONTA *font);
VINTOREL_WIN32_API HGDIOBJ WINAPI GetStockObject(int index);
VINTOREL_WIN32_API HGDIOBJ WINAPI SelectObject(HDC dc, HGDIOBJ object);
VINTOREL_WIN32_API BOOL WINAPI DeleteObject(HGDIOBJ object);
VINTOREL_WIN32_API int WINAPI GetObjectA(HGDIOBJ object, int size, LPVOID buffer);
VINTOREL_WIN32_API DWORD WINAPI GetObjectType(HGDIOBJ object);
VINTOREL_WIN32_API COLORREF WINAPI SetBkColor(HDC dc, COLORREF color);
VINTOREL_WIN32_API COLORREF WINAPI SetTextColor(HDC dc, COLORREF color);
VINTOREL_WIN32_API int WINAPI SetBkMode(HDC dc, int mode);
VINTOREL_WIN32_API BOOL WINAPI TextOutA(HDC dc, int x, int y, LPCSTR text, int count);
VINTOREL_WIN32_API COLORREF WINAPI GetPixel(HDC dc, int x, int y);

// ---------------------------------------------------------------------------------------------
// KERNEL32

#define INVALID_HANDLE_VALUE ((HANDLE)(LONG_PTR)-1)
#define INVALID_FILE_SIZE ((DWORD)0xFFFFFFFF)
#define MAX_PATH 260

#define GENERIC_READ 0x80000000L
#define GENERIC_WRITE 0x40000000L
#define FILE_SHARE_READ 0x00000001
#define FILE_SHARE_WRITE 0x00000002
#define FILE_SHARE_DELETE 0x00000004
#define CREATE_NEW 1
#define CREATE_ALWAYS 2
#define OPEN_EXISTING 3
#define OPEN_ALWAYS 4
#define TRUNCATE_EXISTING 5
#define FILE_ATTRIBUTE_READONLY 0x00000001
#define FILE_ATTRIBUTE_DIRECTORY 0x00000010
#define FILE_ATTRIBUTE_ARCHIVE 0x00000020
#define FILE_ATTRIBUTE_NORMAL 0x00000080

typedef struct _FILETIME {
    DWORD dwLowDateTime;
    DWORD dwHighDateTime;
} FILETIME, *LPFILETIME;

typedef struct _WIN32_FIND_DATAA {
    DWORD dwFileAttributes;
    FILETIME ftCreationTime;
    FILETIME ftLastAccessTime;
    FILETIME ftLastWriteTime;
    DWORD nFileSizeHigh;
    DWORD nFileSizeLow;
    DWORD dwReserved0;
    DWORD dwReserved1;
    CHAR cFileName[MAX_PATH];
    CHAR cAlternateFileName[14];
} WIN32_FIND_DATAA, *LPWIN32_FIND_DATAA;

typedef struct _SECURITY_ATTRIBUTES {
    DWORD nLength;
    LPVOID lpSecurityDescriptor;
    BOOL bInheritHandle;
} SECURITY_ATTRIBUTES, *LPSECURITY_ATTRIBUTES;

typedef struct _OVERLAPPED OVERLAPPED, *LPOVERLAPPED;

VINTOREL_WIN32_API HANDLE WINAPI FindFirstFileA(LPCSTR pattern, LPWIN32_FIND_DATAA findData);
VINTOREL_WIN32_API BOOL WINAPI FindNextFileA(HANDLE find, LPWIN32_FIND_DATAA findData);
VINTOREL_WIN32_API BOOL WINAPI FindClose(HANDLE find);
VINTOREL_WIN32_API HANDLE WINAPI CreateFileA(LPCSTR name, DWORD access, DWORD shareMode,
                                             LPSECURITY_ATTRIBUTES security, DWORD disposition,
                                             DWORD flags, HANDLE templateFile);
VINTOREL_WIN32_API DWORD WINAPI GetFileSize(HANDLE file, LPDWORD sizeHigh);
VINTOREL_WIN32_API BOOL WINAPI ReadFile(HANDLE file, LPVOID buffer, DWORD toRead, LPDWORD read,
                                        LPOVERLAPPED overlapped);
VINTOREL_WIN32_API BOOL WINAPI WriteFile(HANDLE file, LPCVOID buffer, DWORD toWrite,
                                         LPDWORD written, LPOVERLAPPED overlapped);
VINTOREL_WIN32_API BOOL WINAPI CloseHandle(HANDLE object);
VINTOREL_WIN32_API BOOL WINAPI DeleteFileA(LPCSTR name);
VINTOREL_WIN32_API DWORD WINAPI GetLastError(void);
VINTOREL_WIN32_API void WINAPI SetLastError(DWORD error);
VINTOREL_WIN32_API HMODULE WINAPI GetModuleHandleA(LPCSTR moduleName);
VINTOREL_WIN32_API DWORD WINAPI GetTickCount(void);
VINTOREL_WIN32_API void WINAPI Sleep(DWORD milliseconds);

// Further error codes of the file functions (winerror.h)
#define ERROR_TOO_MANY_OPEN_FILES 4L
#define ERROR_GEN_FAILURE 31L
#define ERROR_DISK_FULL 112L
#define ERROR_INVALID_NAME 123L
#define ERROR_FILENAME_EXCED_RANGE 206L
#define ERROR_DIRECTORY 267L
#define ERROR_NOACCESS 998L
