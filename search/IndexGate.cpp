#include "search/IndexGate.h"

#include "automation/Texcel.h"
#include "automation/XlFind.h"

#include <new>

namespace {

CellIndex::LookIn IndexLookIn(int lookIn) {
    switch (lookIn) {
        case XlFind::Values:
            return CellIndex::Values;
        case XlFind::Comments:
            return CellIndex::Comments;
        default:
            return CellIndex::Formulas;
    }
}

}  // namespace

IndexGate::IndexGate(const QString& indexFile, TExcel& excel, const SearchConditions& conditions)
    : lookIn_(LookInArgument(conditions)) {
    if (indexFile.isEmpty()) {
        return;
    }
    const std::optional<QStringList> literals = excel.IndexLiterals(conditions.Word);
    if (!literals) {
        return;  // an application that cannot say what to index
    }
    index_ = std::make_unique<CellIndex>(indexFile);
    index_->SetWord(IndexLookIn(lookIn_), *literals);
}

IndexGate::~IndexGate() = default;

std::vector<IndexGate::Verdict> IndexGate::Plan(const QString& folder, const QStringList& files) {
    std::vector<Verdict> verdicts(static_cast<size_t>(files.size()));
    if (index_ && index_->IsOpen()) {
        index_->Prune(folder);
        for (qsizetype i = 0; i < files.size(); ++i) {
            verdicts[static_cast<size_t>(i)] = index_->Check(files[i]);
        }
    }
    return verdicts;
}

void IndexGate::BeforeBook() {
    if (index_) {
        index_->CommitIfDue();
    }
}

IndexGate::BookHook IndexGate::AfterSearch(const QString& path, const Verdict& verdict) {
    if (!index_ || !verdict.refresh || !verdict.stamp) {
        return {};
    }
    return [this, path, stamp = *verdict.stamp](Excel::TWorkbook& book) {
        // The index is only an aid: a book too large to list is simply not indexed.
        try {
            if (const std::optional<Excel::TIndexTexts> texts = book.IndexTexts(lookIn_)) {
                index_->Store(path, stamp, texts->numberAlphabet, texts->texts);
            }
        } catch (const std::bad_alloc&) {
        } catch (const std::length_error&) {
        }
    };
}

void IndexGate::Failed(const QString& path, const Verdict& verdict, const QString& message) {
    if (index_ && verdict.refresh && verdict.stamp) {
        index_->StoreFailure(path, *verdict.stamp, message);
    }
}
