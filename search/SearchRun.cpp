// The run is single-threaded: the host's message pump is the only place where the cancel
// action (or any other window event) can run while a search is in progress.
#include "search/SearchRun.h"

#include "automation/Texcel.h"
#include "search/IndexGate.h"
#include "search/SearchBook.h"
#include "search/SearchHost.h"
#include "search/Tfilesearcher.h"
#include "storage/Exception.h"

#include <QFileInfo>
#include <algorithm>
#include <limits>

namespace {

// Re-enables the window however the run is left.
class SearchingScope {
public:
    SearchingScope(SearchHost& host, bool& running) : host_(host), running_(running) {
        running_ = true;
        host_.SetSearching(true);
    }
    ~SearchingScope() {
        host_.SetSearching(false);
        running_ = false;
    }
    SearchingScope(const SearchingScope&) = delete;
    SearchingScope& operator=(const SearchingScope&) = delete;

private:
    SearchHost& host_;
    bool& running_;
};

void QuitQuietly(TExcel& excel) {
    try {
        excel.Quit();
    } catch (...) {
        // Already leaving with an error; that one is reported.
    }
}

int ClampToInt(qsizetype value) {
    return static_cast<int>(std::min<qsizetype>(value, std::numeric_limits<int>::max()));
}

}  // namespace

SearchRun::SearchRun(SearchHost& host, const AutomationRegistry& servers)
    : host_(host), servers_(servers) {}

QString SearchRun::CollectingText() {
    return QStringLiteral("検索するファイルを取得中...");
}

QString SearchRun::FinishedText() {
    return QStringLiteral("検索処理は終了しました。");
}

QString SearchRun::SearchingText(const QString& path) {
    return QStringLiteral("「") + QFileInfo(path).fileName() + QStringLiteral("」の検索中…");
}

void SearchRun::Start() {
    if (running_) {
        return;  // reached from a pump inside a run; the window disables the start action
    }
    const SearchConditions conditions = host_.Conditions();
    if (CheckConditions(conditions)) {
        Run(conditions);
    }
}

void SearchRun::Run(const SearchConditions& conditions) {
    if (running_) {
        return;  // as in Start
    }
    host_.ClearRows();
    host_.SetIndexSkipped(0);
    skipped_.clear();
    {
        SearchingScope searching(host_, running_);
        BookSearch(conditions);
    }
    host_.SetStatusText(FinishedText());
    if (!skipped_.isEmpty()) {
        host_.ShowSkipped(skipped_);
    }
}

void SearchRun::Cancel() {
    searchCancel_ = true;
    host_.ProcessMessages();
}

bool SearchRun::IsSearchCanceled() {
    host_.ProcessMessages();
    return searchCancel_;
}

bool SearchRun::CheckConditions(const SearchConditions& conditions) {
    if (conditions.Dir.isEmpty() || !QFileInfo(conditions.Dir).isDir()) {
        host_.ShowWarning(QStringLiteral("検索するフォルダーを選択してください。"));
        host_.FocusControl(SearchControl::Folder);
        return false;
    }
    if (conditions.Word.isEmpty()) {
        host_.ShowWarning(QStringLiteral("検索キーワードを入力してください。"));
        host_.FocusControl(SearchControl::Word);
        return false;
    }
    if (!HasFileType(conditions)) {
        host_.ShowWarning(QStringLiteral("検索対象を選択してください。"));
        host_.FocusControl(SearchControl::FileTypes);
        return false;
    }
    return true;
}

QStringList SearchRun::GetBookFiles(const SearchConditions& conditions) {
    QStringList files;
    TFileSearcher searcher;
    searcher.SetSearchSubDir(conditions.IsSearchSubDir);
    searcher.SetDir(conditions.Dir);
    searcher.SetExts(ExtensionList(conditions));
    while (searcher.Next()) {
        files.append(searcher.GetFileName());
        host_.ProcessMessages();
        if (searchCancel_) {
            break;
        }
    }
    skipped_.append(searcher.TakeSkipped());
    return files;
}

void SearchRun::BookSearch(const SearchConditions& conditions) {
    searchCancel_ = false;
    host_.SetStatusText(CollectingText());
    const QStringList files = GetBookFiles(conditions);
    if (IsSearchCanceled()) {
        return;
    }
    try {
        const std::unique_ptr<TExcel> excel = TExcel::CreateObject(servers_);
        if (!excel) {
            throw Exception(QStringLiteral("Excelを起動できませんでした。"));
        }
        try {
            SearchFiles(*excel, files, conditions);
        } catch (...) {
            QuitQuietly(*excel);
            throw;
        }
        excel->Quit();
    } catch (const Exception& error) {
        // The application has been quit and released by now.
        host_.ShowWarning(error.Message());
    }
}

void SearchRun::SearchFiles(TExcel& excel, const QStringList& files,
                            const SearchConditions& conditions) {
    host_.SetProgressMaximum(ClampToInt(files.size()));
    host_.SetProgressPosition(0);
    const ResultRowSink sink = [this](const ResultRow& row) { host_.AppendRow(row); };
    excel.SetFindHiddenCells(findHiddenCells_);
    IndexGate index(indexFile_, excel, conditions);
    const std::vector<IndexGate::Verdict> verdicts = index.Plan(conditions.Dir, files);
    QStringList toRead;
    for (qsizetype i = 0; i < files.size(); ++i) {
        if (verdicts[static_cast<size_t>(i)].kind == IndexGate::Verdict::Kind::Search) {
            toRead.append(files[i]);
        }
    }
    excel.Workbooks().ReadAhead(toRead);
    int passedOver = 0;
    for (qsizetype i = 0; i < files.size(); ++i) {
        const QString& path = files[i];
        const IndexGate::Verdict& verdict = verdicts[static_cast<size_t>(i)];
        if (verdict.kind == IndexGate::Verdict::Kind::Skip) {
            host_.SetIndexSkipped(++passedOver);
        } else {
            host_.SetStatusText(SearchingText(path));
            host_.ProcessMessages();
            index.BeforeBook();
            try {
                if (verdict.kind == IndexGate::Verdict::Kind::Failed) {
                    throw Exception(verdict.failure);  // as its reading failed last time
                }
                SearchBook(excel, path, conditions, sink, index.AfterSearch(path, verdict));
            } catch (const BookTooLarge& error) {
                BookFailed(path, error);  // may fit another time: not recorded
            } catch (const Exception& error) {
                index.Failed(path, verdict, error.Message());
                BookFailed(path, error);
            }
        }
        host_.SetProgressPosition(host_.ProgressPosition() + 1);
        host_.ProcessMessages();
        if (IsSearchCanceled()) {
            return;
        }
    }
}

void SearchRun::BookFailed(const QString& path, const Exception& error) {
    if (!continueAfterBookError_) {
        throw error;
    }
    skipped_.append({path, error.Message()});
}
