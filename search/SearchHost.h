// What the window provides to a search run. The main window implements it; tests and the
// command-line front end provide their own, so the run needs no display.
#pragma once

#include "search/ConditionArguments.h"
#include "search/ResultRow.h"
#include "search/SkippedItem.h"

#include <QString>

enum class SearchControl { Folder, Word, FileTypes };

class SearchHost {
public:
    virtual ~SearchHost() = default;

    // Handles every waiting window message once, then returns.
    virtual void ProcessMessages() = 0;
    virtual void SetStatusText(const QString& text) = 0;
    virtual void SetProgressMaximum(int maximum) = 0;
    virtual void SetProgressPosition(int position) = 0;
    virtual int ProgressPosition() const = 0;
    virtual void AppendRow(const ResultRow& row) = 0;
    virtual void ClearRows() = 0;
    // Modal warning box: title "警告", one button "OK".
    virtual void ShowWarning(const QString& text) = 0;
    // After the run's end text: the workbooks and folders the run went past, with reasons.
    virtual void ShowSkipped(const SkippedItems& skipped) = 0;
    virtual void FocusControl(SearchControl control) = 0;
    // Disables the condition area, the start action and the list, shows the progress panel
    // (and the reverse for false).
    virtual void SetSearching(bool searching) = 0;
    // How many books of the run the cell index has passed over so far.
    virtual void SetIndexSkipped(int books) = 0;
    // The conditions as the controls hold them now.
    virtual SearchConditions Conditions() const = 0;
};
