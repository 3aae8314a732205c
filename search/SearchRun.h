// The search run behind the start and cancel actions: checks the conditions, collects the
// candidate workbooks, starts a private hidden spreadsheet application, searches every
// workbook in turn with progress, and honours a cancel request between files.
#pragma once

#include "search/ConditionArguments.h"
#include "search/SkippedItem.h"

#include <QStringList>

class AutomationRegistry;
class Exception;
class SearchHost;
class TExcel;

class SearchRun {
public:
    // The run starts its spreadsheet application from `servers`.
    SearchRun(SearchHost& host, const AutomationRegistry& servers);
    SearchRun(const SearchRun&) = delete;
    SearchRun& operator=(const SearchRun&) = delete;

    // The start action: the three input checks, then the run.
    void Start();
    // The three input checks in order; the first that fails warns, focuses its control and
    // gives false.
    bool CheckConditions(const SearchConditions& conditions);
    // The run proper, after the checks: empties the rows, searches, shows the end text.
    // Errors derived from Exception end the run with a warning; the host is re-enabled on
    // every path. A window shows its wait cursor around this.
    void Run(const SearchConditions& conditions);
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
    // Also list cells in hidden rows and columns and in rows a filter hides, which the
    // spreadsheet application's Find passes over.
    void SetFindHiddenCells(bool find) { findHiddenCells_ = find; }
    // The cell index to narrow runs with and to keep up to date; none when empty (the
    // default).
    void SetIndexFile(const QString& file) { indexFile_ = file; }

    // Status texts the run shows.
    static QString CollectingText();
    static QString FinishedText();
    static QString SearchingText(const QString& path);

private:
    void BookSearch(const SearchConditions& conditions);
    QStringList GetBookFiles(const SearchConditions& conditions);
    void SearchFiles(TExcel& excel, const QStringList& files, const SearchConditions& conditions);
    // A book that could not be searched: ends the run, or is listed and passed.
    void BookFailed(const QString& path, const Exception& error);

    SearchHost& host_;
    const AutomationRegistry& servers_;
    bool searchCancel_ = false;
    bool running_ = false;
    bool continueAfterBookError_ = false;
    bool findHiddenCells_ = false;
    QString indexFile_;
    SkippedItems skipped_;
};
