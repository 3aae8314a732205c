// The search run behind the start and cancel actions: checks the conditions, collects the
// candidate workbooks, starts a private hidden spreadsheet application, searches every
// workbook in turn with progress, and honours a cancel request between files.
#pragma once

#include "search/ConditionArguments.h"
#include "search/SkippedItem.h"

#include <QStringList>

class SearchHost;
class TExcel;

class SearchRun {
public:
    explicit SearchRun(SearchHost& host);
    SearchRun(const SearchRun&) = delete;
    SearchRun& operator=(const SearchRun&) = delete;

    // The start action: the three input checks, then the run. Errors derived from Exception
    // end the run with a warning; the host is re-enabled on every path.
    void Start();
    // The cancel action: sets the flag, then pumps the queue once.
    void Cancel();
    // Pumps the queue once, then tells whether a cancel was requested.
    bool IsSearchCanceled();
    bool IsRunning() const { return running_; }
    // When set, a workbook that raises an error is skipped and the run goes on with the next
    // one, instead of ending with a warning; the skipped books are listed at the end, with
    // the folders and files the walk could not take. Off by default.
    void SetContinueAfterBookError(bool continueAfterError) {
        continueAfterBookError_ = continueAfterError;
    }

    // Status texts the run shows.
    static QString CollectingText();
    static QString FinishedText();
    static QString SearchingText(const QString& path);

private:
    bool CheckConditions(const SearchConditions& conditions);
    void BookSearch(const SearchConditions& conditions);
    QStringList GetBookFiles(const SearchConditions& conditions);
    void SearchFiles(TExcel& excel, const QStringList& files, const SearchConditions& conditions);

    SearchHost& host_;
    bool searchCancel_ = false;
    bool running_ = false;
    bool continueAfterBookError_ = false;
    SkippedItems skipped_;
};
