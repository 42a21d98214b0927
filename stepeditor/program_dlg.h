// CProgramDlg: the PROGRAM window. It shows the steps of the editor's list
// as rows in the scrolling list and offers Select, Delete, Append, Download
// and Cancel; it owns the row table, rebuilds it from the editor's list,
// writes the rows back into the list, and tells the host about changes with
// the registered message.
//
// The object lives as long as the library; its window (template 3000) is
// created by ShowDlg or Create_Dlg, hidden by Cancel and destroyed by the
// next ShowDlg or with its owner, the host window.
#pragma once

#include <QPointer>
#include <cstdint>
#include <memory>

#include "editor_services.h"
#include "editor_state.h"
#include "step_data.h"
#include "step_part.h"
#include "step_scroll_dlg.h"

class QDialog;
class QPushButton;
class QTimer;
class ProgramWindow;

class CProgramDlg {
public:
    // Control ids of the buttons.
    static constexpr int kSelect = 3050;
    static constexpr int kDelete = 3;
    static constexpr int kAppend = 4;
    static constexpr int kDownload = 5;
    static constexpr int kCancel = 2;
    // The window shows at most this many rows.
    static constexpr uint32_t kMaxRows = 21;
    // The closed message follows Cancel after this delay.
    static constexpr int kCloseDelayMs = 400;

    CProgramDlg(LibraryState& state, CStep_Data& list, CStepScrollDlg& scroll, EditorServices& services);
    ~CProgramDlg();
    CProgramDlg(const CProgramDlg&) = delete;
    CProgramDlg& operator=(const CProgramDlg&) = delete;

    // Creates the window hidden, owned by `owner`.
    void Create(QWidget* owner);
    // Destroys the window; deferred while one of its own handlers runs.
    void Destroy();
    bool Exists() const { return !window_.isNull(); }
    QDialog* Window() const;
    QPushButton* Button(int id) const;

    // Replaces the rows by one row per step of the editor's list.
    void RebuildRows();
    // Writes every row's fan, time and heat into the editor's list.
    void CollectRows();
    // Scroll range from the row-area height, position 0.
    void ResetScrollRange();

    int RowCount() const { return rowCount_; }
    STEP_PART& Row(int i) { return rows_[i]; }
    int RowAreaHeight() const { return state_.rowAreaHeight; }

    // The button actions.
    void OnSelect();
    void OnDelete();
    void OnAppend();
    void OnDownload();
    void OnCancel();

private:
    friend class ProgramWindow;
    // Runs a handler of the window, keeping exceptions inside it.
    template <typename Handler>
    void Guarded(Handler handler);
    void DestroyRows();
    void ReloadRow(uint32_t index);

    LibraryState& state_;
    CStep_Data& list_;
    CStepScrollDlg& scroll_;
    EditorServices& services_;
    QPointer<ProgramWindow> window_;
    QPointer<QTimer> closeTimer_;
    std::unique_ptr<STEP_PART[]> rows_;
    int rowCount_ = 0;
    int handlerDepth_ = 0;
};
