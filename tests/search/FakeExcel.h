// A scripted stand-in for the spreadsheet application, registered under "Excel.Application":
// each worksheet lists the cells its Find and FindNext deliver, in order, wrapping round.
// Every member call is logged so tests can check call sequences.
#pragma once

#include "automation/AutomationRegistry.h"

#include <QStringList>
#include <map>
#include <memory>

namespace fake {

struct Cell {
    Cell(int column, int row, QString text = {}, QString comment = {})
        : column(column), row(row), text(std::move(text)), comment(std::move(comment)) {}
    int column;
    int row;
    QString text;     // also its formula
    QString comment;  // no comment object when empty
};

struct Sheet {
    QString name;
    std::vector<Cell> hits;
    bool failOnFind = false;
};

using Book = std::vector<Sheet>;

class FakeExcel : public AutomationServer, public std::enable_shared_from_this<FakeExcel> {
public:
    // A new fake, registered in `servers` as "Excel.Application".
    static std::shared_ptr<FakeExcel> Install(AutomationRegistry& servers);
    ObjectRef GetActiveObject() override { return nullptr; }
    ObjectRef CreateObject() override;

    std::map<QString, Book> books;  // by path; opening any other path fails
    bool failCreate = false;
    QStringList log;                // member names, "Open <path>" for Open
    std::vector<Variant> findArgs;  // of the last Find
    int openBooks = 0;
    int quits = 0;
};

}  // namespace fake
