// The system declarations that Korvex's window-free code takes from
// <windows.h>, for the native fuzzing build only: a few types, and the
// code-page conversions, which native_text.cpp does as the system does them.
// The ANSI code page they convert from and to is the one the fuzz target
// picks: Windows-1252, as on western systems, or UTF-8.
#pragma once
#include <cstdint>

typedef int BOOL;
typedef uint8_t BYTE;
typedef uint16_t WORD;
typedef uint32_t DWORD;
typedef int32_t LONG;
typedef unsigned int UINT;
typedef char CHAR;
typedef const char* LPCSTR;
typedef char* LPSTR;
typedef wchar_t WCHAR;
typedef const wchar_t* LPCWSTR;
typedef wchar_t* LPWSTR;
typedef BOOL* LPBOOL;

#define FALSE 0
#define TRUE 1
#define MAX_PATH 260
#define CP_ACP 0
#define CP_UTF8 65001
#define MB_ERR_INVALID_CHARS 0x8
#define LOCALE_USER_DEFAULT 0x400
#define LOCALE_IDEFAULTANSICODEPAGE 0x1004

struct RECT {
    LONG left, top, right, bottom;
};

struct FILETIME {
    DWORD dwLowDateTime, dwHighDateTime;
};

struct SYSTEMTIME {
    WORD wYear, wMonth, wDayOfWeek, wDay, wHour, wMinute, wSecond, wMilliseconds;
};

struct WIN32_FIND_DATAA {
    DWORD dwFileAttributes;
    FILETIME ftCreationTime, ftLastAccessTime, ftLastWriteTime;
    DWORD nFileSizeHigh, nFileSizeLow, dwReserved0, dwReserved1;
    CHAR cFileName[MAX_PATH];
    CHAR cAlternateFileName[14];
};

// Wide characters hold UTF-16 code units here too, although wchar_t is wider
// than on Windows: characters beyond the first plane take two.
int MultiByteToWideChar(UINT codePage, DWORD flags, LPCSTR text, int bytes, LPWSTR wide,
                        int wideChars);
int WideCharToMultiByte(UINT codePage, DWORD flags, LPCWSTR wide, int wideChars, LPSTR text,
                        int bytes, LPCSTR defaultChar, LPBOOL usedDefault);

// Upper case in place, one UTF-16 code unit at a time (surrogates as they
// are); the C library's table stands in for the system's.
DWORD CharUpperBuffW(LPWSTR text, DWORD length);

// The code page CP_ACP stands for: 1252 (the default) or CP_UTF8.
extern UINT NativeAnsiCodePage;
UINT GetACP();
// The user locale's legacy code page: "1252", as on western systems.
int GetLocaleInfoA(DWORD locale, DWORD type, LPSTR data, int size);

// Whether the conversions above give what the system gives for each of
// CodePageCases() (code_page_cases.h).
bool NativeTextMatchesSystem();
