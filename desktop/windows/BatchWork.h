// Long work of the batch dialog (importing or exporting a large batch) run in the program's
// one thread: between its steps the windows are let run, so that they stay responsive; once
// the work lasts a second a small progress window over the batch dialog shows how far it is
// and offers "Cancel". While the work runs the thread's other windows are disabled, as under
// a modal window, so that nothing it reads (the batch, the Options pane) changes under it.
#pragma once
#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

#include "batch_work.h"
#include "framework.h"

class CBatchProgressDlg;

class CBatchWork {
public:
    explicit CBatchWork(CWnd& dialog);
    ~CBatchWork();
    CBatchWork(const CBatchWork&) = delete;
    CBatchWork& operator=(const CBatchWork&) = delete;

    // Called after each step of the work, with what is done of the whole ("Importing", 1,234
    // of 5,000 "records"). False once the user has cancelled and the work is to stop.
    bool Continue(std::u16string_view work, std::uint64_t done, std::uint64_t total, std::u16string_view unit);
    bool Cancelled() const { return m_bCancelled; }
    // From now on the work cannot be cancelled (it puts back what a cancelled work changed).
    void EndCancel();

private:
    void DisableWindows();
    void ShowProgress();
    void Pump();

    CWnd& m_dialog;
    desktop::WorkPacer m_pacer;
    bool m_bCancelled = false;
    bool m_bCancellable = true;
    bool m_bQuit = false;  // WM_QUIT was taken from the queue: posted again at the end
    int m_nQuitCode = 0;
    bool m_bWindowsDisabled = false;
    std::vector<HWND> m_disabled;
    HWND m_hFocus = nullptr;
    std::unique_ptr<CBatchProgressDlg> m_pProgress;
};
