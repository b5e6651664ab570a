// Answers the modal dialogs and message boxes a test makes the code under test
// show, without sleeping: a CBT hook on the current thread sees each dialog
// (window class "#32770") being activated and, once the dialog's own message
// loop runs, hands it to the next queued answer.
//
//   DialogAnswerer answers;
//   answers.Add([](HWND dlg) { ClickButton(dlg, IDNO); });
//   EXPECT_EQ(IDNO, ShowMessage("Delete?", "Error", MB_YESNO));
//   EXPECT_EQ("Delete?", answers.Seen(0).text);
//
//   answers.Add([](HWND dlg) {
//       SetDlgItemTextA(dlg, 103, "new name");
//       ClickButton(dlg, 104);
//   });
//
// Answers are used in the order added, one per dialog; a dialog that opens
// while another is answered (a message box raised by an OK button) gets the
// next answer. An answer must close its dialog, normally with ClickButton.
// A dialog that appears when no answer is left is cancelled (IDCANCEL),
// counted as unexpected and reported as a test failure; answers still unused
// when the answerer goes out of scope are reported as a failure too.
// One answerer per thread at a time.
#pragma once
#include <windows.h>

#include <deque>
#include <functional>
#include <string>
#include <vector>

// What a dialog showed when it was handed to its answer.
struct SeenDialog {
    std::string caption;
    std::string text; // a message box's message: its first non-empty static text
};

class DialogAnswerer {
  public:
    using Answer = std::function<void(HWND dialog)>;

    DialogAnswerer();
    ~DialogAnswerer();
    DialogAnswerer(const DialogAnswerer&) = delete;
    DialogAnswerer& operator=(const DialogAnswerer&) = delete;

    void Add(Answer answer);
    int Answered() const { return static_cast<int>(seen_.size()); }
    int Pending() const { return static_cast<int>(answers_.size()); }
    int Unexpected() const { return unexpected_; }
    const SeenDialog& Seen(int index) const { return seen_.at(static_cast<size_t>(index)); }

  private:
    static BOOL CALLBACK KeepExisting(HWND wnd, LPARAM self);
    static LRESULT CALLBACK CbtHook(int code, WPARAM wParam, LPARAM lParam);
    static void CALLBACK OnTimer(HWND dialog, UINT msg, UINT_PTR id, DWORD time);
    void Handle(HWND dialog);

    HHOOK hook_ = nullptr;
    std::deque<Answer> answers_;
    std::vector<HWND> handled_;
    std::vector<SeenDialog> seen_;
    int unexpected_ = 0;
};

// Sends the command a click on the dialog's button with this id would send.
// False when the dialog has no such button or it is disabled.
bool ClickButton(HWND dialog, int id);

// The text of the first non-empty static control of a dialog (a message box's
// message), "" when none.
std::string DialogMessageText(HWND dialog);
