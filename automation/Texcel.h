// Thin wrappers over the spreadsheet application's automation objects: the one place where
// member names and argument lists are written down. Each operation is one late-bound call.
#pragma once

#include "automation/Variant.h"

#include <QString>
#include <QStringList>
#include <memory>
#include <optional>

class AutomationRegistry;

namespace Excel {

class TWorkbooks;

}  // namespace Excel

class TExcel {
public:
    // The running instance of "Excel.Application", or null when none runs.
    static std::unique_ptr<TExcel> GetActiveObject(const AutomationRegistry& servers);
    // A new, hidden instance, or null on any failure.
    static std::unique_ptr<TExcel> CreateObject(const AutomationRegistry& servers);

    explicit TExcel(Variant application);
    TExcel(const TExcel&) = delete;
    TExcel& operator=(const TExcel&) = delete;
    ~TExcel();  // releases the reference; never quits the application

    void SetVisible(bool visible);
    // Whether Find also finds cells hidden from view (hidden rows and columns, rows a filter
    // hides). The embedded engine's own property; an application without it finds as it does.
    void SetFindHiddenCells(bool find);
    // For a cell index: the literal parts of a Find word (wildcards out, escapes resolved),
    // folded as the application's index texts are. Nothing from an application without
    // the member ("IndexLiterals").
    std::optional<QStringList> IndexLiterals(const QString& what);
    void Quit();
    Excel::TWorkbooks Workbooks();

    const Variant& Value() const { return application_; }

private:
    Variant application_;
};

namespace Excel {

class TWorkbook;
class TWorksheets;
class TWorksheet;
class TRange;
class TComment;

class TWorkbooks {
public:
    explicit TWorkbooks(Variant value) : value_(std::move(value)) {}
    TWorkbook Open(const QString& fileName);
    // Names the workbooks about to be opened, in order, so that an application which can
    // read them ahead on other cores does so. Only a hint: an application without the
    // member ("ReadAhead", one path per call) goes on without it.
    void ReadAhead(const QStringList& fileNames);
    const Variant& Value() const { return value_; }

private:
    Variant value_;
};

// What a cell index keeps of one workbook for one look-in.
struct TIndexTexts {
    QString numberAlphabet;  // characters its number cells may show
    QString texts;           // the distinct folded texts, each followed by the separator
};

class TWorkbook {
public:
    explicit TWorkbook(Variant value) : value_(std::move(value)) {}
    TWorksheets WorkSheets();
    // The texts Find compares in `lookIn` (an XlFindLookIn value), for a cell index.
    // Nothing when the workbook cannot be indexed or the application lacks the member
    // ("IndexTexts").
    std::optional<TIndexTexts> IndexTexts(int lookIn);
    void Close();
    const Variant& Value() const { return value_; }

private:
    Variant value_;
};

class TWorksheets {
public:
    explicit TWorksheets(Variant value) : value_(std::move(value)) {}
    int Count();
    TWorksheet Item(int index);  // counted from 1
    const Variant& Value() const { return value_; }

private:
    Variant value_;
};

class TWorksheet {
public:
    explicit TWorksheet(Variant value) : value_(std::move(value)) {}
    QString Name();
    void Activate();
    TRange Cells(int column, int row);  // passed to the application row first
    TRange UsedRange();
    const Variant& Value() const { return value_; }

private:
    Variant value_;
};

class TRange {
public:
    explicit TRange(Variant value) : value_(std::move(value)) {}
    // The first match; the integer 0 instead of an empty value when nothing matches.
    TRange Find(const QString& what, const Variant& after, int lookIn, int lookAt, int searchOrder,
                int searchDirection, bool matchCase, bool matchByte);
    // The next match after `after`, wrapped as returned.
    TRange FindNext(const TRange& after);
    int Column();
    int Row();
    QString Text();
    QString Formula();
    TComment Comment();
    void Activate();
    const Variant& Value() const { return value_; }

private:
    Variant value_;
};

class TComment {
public:
    explicit TComment(Variant value) : value_(std::move(value)) {}
    QString Text();
    const Variant& Value() const { return value_; }

private:
    Variant value_;
};

}  // namespace Excel
