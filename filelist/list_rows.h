// Reading and writing the rows of a list view: the file list's (the forms
// without a list) or any other's, such as the search results.
#pragma once
#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

// The whole text of a row's column, however long: a UTF-8 name may take
// four bytes a character.
std::string RowText(HWND list, int row, int column);
std::string WholeRowText(HWND list, int row, int column);
int RowCount(HWND list);
void SetRowText(HWND list, int row, int column, const std::string& text);
LPARAM RowParam(HWND list, int row);

// Alignment of the columns, the same in the file list and the search
// results: sizes to the right, versions centred, everything else to the left.
extern const int kColumnFormats[10];

// Appends column `index` (its sub-item the same number) with its header text,
// alignment (LVCFMT_...) and width.
void InsertColumn(HWND list, int index, const char* header, int format, int width);
// Sets the text of a column's header.
void SetHeaderText(HWND list, int column, const std::string& text);

std::string RowText(int row, int column);
// The texts of columns 2 to 6 are kept beside the list, by the row's
// parameter, and only there: the list view asks for them (AnswerRowText),
// and a sort need not ask the list view for every row.
void SetRowText(int row, int column, const std::string& text);
// The same for a row whose parameter the caller knows: one question to the
// list view less.
void SetRowText(int row, LPARAM param, int column, const std::string& text);
// The kept text of a file list row's column; none when none was kept.
const std::string* KeptRowText(LPARAM param, int column);
// Answers the list's question for a kept text (LVN_GETDISPINFO).
void AnswerRowText(NMLVDISPINFOA* info);
// The file list lost a row, or every row.
void ForgetRowTexts(LPARAM param);
void ForgetAllRowTexts();
// The file list's rows' parameters in row order, as a sort left them, so
// that the next sort need not ask the list view for each. Any row inserted
// or deleted since makes them unknown: false.
void KeepRowOrder(std::vector<LPARAM> params);
bool KeptRowOrder(int rows, std::vector<LPARAM>& params);
// Inserts a row at the top with column 0's text and image; every row gets a
// parameter of its own, by which it is sorted and found. Returns it, and
// the row it went to in `row` (-1 when it could not be inserted).
LPARAM InsertRowAtTop(const std::string& text, int image, int* row = nullptr);
// Index of the row with that parameter now; -1 when there is none.
int RowWithParam(LPARAM param);
void SetRowImage(int row, int column, int image);
// Columns 7 to 9 of a row: the drawing's title, author and last saver.
struct DrawingProperties;
void SetRowPropertyTexts(int row, const DrawingProperties& props);
std::vector<int> SelectedRows();
