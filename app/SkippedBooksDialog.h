// The list shown after a run that went past workbooks or folders it could not search: one
// line per item with its reason, selectable and copyable, and where the option lives.
#pragma once

#include "search/SkippedItem.h"

#include <QDialog>

class QPlainTextEdit;

class SkippedBooksDialog : public QDialog {
public:
    SkippedBooksDialog(QWidget* parent, const SkippedItems& skipped);

    // Shows the list modally.
    static void Show(QWidget* parent, const SkippedItems& skipped);

private:
    QPlainTextEdit* list_;
};
