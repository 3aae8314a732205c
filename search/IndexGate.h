// The cell index as one search run uses it: asks it, before any book is read, which books
// can hold the word, and gives it the texts of each book the run reads in full (from that
// reading, while the book is open) or the failure its reading gave. Off when no index file
// is named, or the application cannot tell what to index.
#pragma once

#include "search/ConditionArguments.h"
#include "search/index/CellIndex.h"

#include <QStringList>
#include <functional>
#include <memory>
#include <vector>

class TExcel;

namespace Excel {
class TWorkbook;
}

class IndexGate {
public:
    using Verdict = CellIndex::Verdict;
    using BookHook = std::function<void(Excel::TWorkbook&)>;

    IndexGate(const QString& indexFile, TExcel& excel, const SearchConditions& conditions);
    ~IndexGate();
    IndexGate(const IndexGate&) = delete;
    IndexGate& operator=(const IndexGate&) = delete;

    // One verdict per file, in order: all Search when the index is off. Entries of books
    // gone from `folder` are dropped on the way.
    std::vector<Verdict> Plan(const QString& folder, const QStringList& files);
    // Before each book is searched.
    void BeforeBook();
    // What to run on the book once its search is done, before it is closed.
    BookHook AfterSearch(const QString& path, const Verdict& verdict);
    // The book could not be read (`message` says why): recorded until it changes.
    void Failed(const QString& path, const Verdict& verdict, const QString& message);

private:
    std::unique_ptr<CellIndex> index_;
    int lookIn_ = 0;  // the Find argument
};
