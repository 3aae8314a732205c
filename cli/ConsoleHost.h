// The search run's host for the command line: rows go to the printer, warnings to stderr,
// and progress to stderr when it is a terminal. There is no queue to pump and no cancel.
#pragma once

#include "search/SearchHost.h"

#include <cstdio>

class RowPrinter;

class ConsoleHost : public SearchHost {
public:
    ConsoleHost(SearchConditions conditions, RowPrinter& printer, FILE* err, bool showProgress);

    void ProcessMessages() override {}
    void SetStatusText(const QString& text) override;
    void SetProgressMaximum(int maximum) override;
    void SetProgressPosition(int position) override;
    int ProgressPosition() const override { return position_; }
    void AppendRow(const ResultRow& row) override;
    void ClearRows() override {}
    void ShowWarning(const QString& text) override;
    void ShowSkipped(const SkippedItems& skipped) override;
    void FocusControl(SearchControl) override {}
    void SetSearching(bool searching) override;
    // The output is the same with the index and without it.
    void SetIndexSkipped(int) override {}
    SearchConditions Conditions() const override { return conditions_; }

    // 0 with at least one hit, 1 with none, 2 when a warning was shown or something was
    // skipped (input or engine error, an unreadable folder).
    int ExitStatus() const;

private:
    void DrawProgress();
    void ClearProgress();
    void Write(const QString& text);

    SearchConditions conditions_;
    RowPrinter& printer_;
    FILE* err_;
    bool showProgress_;
    bool progressShown_ = false;
    QString status_;
    int maximum_ = -1;  // unknown until the files are collected
    int position_ = 0;
    int hits_ = 0;
    bool warned_ = false;
};
