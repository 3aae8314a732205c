// A scripted stand-in for the spreadsheet application, registered under "Excel.Application":
// workbooks are lists of worksheets, each with the cells its Find and FindNext deliver in
// order (FindNext wraps round). Every member call is logged so tests can check sequences.
#pragma once

#include "automation/AutomationObject.h"

#include <QString>
#include <QStringList>
#include <map>
#include <memory>
#include <vector>

namespace fake {

struct Cell {
    Cell(int column, int row, QString text = {}, QString formula = {}, QString comment = {})
        : column(column),
          row(row),
          text(std::move(text)),
          formula(std::move(formula)),
          comment(std::move(comment)) {}

    int column;
    int row;
    QString text;
    QString formula;
    QString comment;  // no comment object when empty
};

struct Sheet {
    QString name;
    std::vector<Cell> hits;
    bool failOnFind = false;  // Find raises an automation error
};

struct Book {
    std::vector<Sheet> sheets;
};

class FakeExcel : public AutomationServer, public std::enable_shared_from_this<FakeExcel> {
public:
    ObjectRef GetActiveObject() override { return nullptr; }
    ObjectRef CreateObject() override;

    // Registers a new fake under "Excel.Application" and returns it.
    static std::shared_ptr<FakeExcel> Install();
    static void Uninstall();

    std::map<QString, Book> books;  // by path; opening any other path fails
    bool failCreate = false;
    QStringList log;                // member names in call order, "Open <path>" for Open
    std::vector<Variant> findArgs;  // arguments of the last Find
    int openWorkbooks = 0;          // opened and not yet closed
    int quits = 0;

private:
    ObjectRef Application();
    ObjectRef Workbook(const QString& path);
    ObjectRef Worksheet(const Sheet& sheet);
    ObjectRef UsedRange(const Sheet& sheet);
    ObjectRef CellObject(const Sheet& sheet, size_t index);
};

}  // namespace fake
