// What the user can do with the result list besides the jump: copy the selected rows as a
// table, open a row's folder or its workbook in the desktop's spreadsheet application, sort
// by a column with a header click (the third click on a column restores the found order),
// fit the columns to their contents, and export the whole list as CSV or TSV. The list's
// context menu offers them with the jump; Enter on a row asks for the jump too.
#pragma once

#include "app/ResultTableText.h"

#include <QObject>
#include <vector>

class QAction;
class QTreeView;
class QWidget;
class ResultListModel;

class ResultListCommands : public QObject {
    Q_OBJECT

public:
    ResultListCommands(QTreeView& list, ResultListModel& model, QWidget& window);

    // Shown positions of the selected rows, top to bottom.
    std::vector<int> SelectedRows() const;
    // The visible columns, left to right.
    std::vector<int> VisibleColumns() const;
    // Writes the whole list, in the shown order and columns, to `path`. Raises Exception.
    void ExportTo(const QString& path, ResultTableText::Format format) const;
    // Widens each visible column to its contents and its caption.
    void FitColumns();
    // After a run: widens the number columns whose contents no longer fit (rows past 9,999),
    // and a book column still at most `bookDefaultWidth` wide to its paths, within reason.
    void WidenAfterRun(int bookDefaultWidth);

    QAction* ActionResultCopy;
    QAction* ActionResultOpenBook;
    QAction* ActionResultOpenFolder;
    QAction* ActionResultOpenSpreadsheet;
    QAction* ActionResultFitColumns;
    QAction* ActionResultFoundOrder;
    QAction* ActionFileExportCsv;
    QAction* ActionFileExportTsv;

signals:
    // The window's jump to the current row.
    void OpenBookRequested();

private:
    QAction* MakeAction(const char* name, const QString& text);
    void Copy();
    void OpenFolder();
    void OpenSpreadsheet();
    void Export(ResultTableText::Format format);
    void HeaderClicked(int column);
    void ShowContextMenu(const QPoint& at);
    void UpdateEnabled();
    int CurrentRow() const;
    // Width of the column's longest text among all rows.
    int WidestText(int column) const;

    QTreeView& list_;
    ResultListModel& model_;
    QWidget& window_;
    Qt::SortOrder sortOrder_ = Qt::AscendingOrder;
};
