// Lazy depth-first listing of the files under one folder whose extension is in a list:
// each folder's matching files in sorted order, then each sub-folder's whole sub-tree.
// Only the enumerators on the current path are alive at a time. A folder that cannot be listed
// and a file that cannot be named or opened by its path are not lost silently: they are kept
// as skipped items for the run to report.
#pragma once

#include "search/SkippedItem.h"

#include <QString>
#include <QStringList>
#include <memory>

class TFileSearcher {
public:
    TFileSearcher();
    ~TFileSearcher();
    TFileSearcher(const TFileSearcher&) = delete;
    TFileSearcher& operator=(const TFileSearcher&) = delete;

    void SetDir(const QString& dir);
    void SetSearchSubDir(bool searchSubDir);
    // Extensions without the dot; an empty entry is skipped, "*" matches every file.
    void SetExts(const QStringList& exts);

    // Advances to the next matching file; false when there is none left.
    bool Next();
    // The full path found by the last successful Next, empty otherwise.
    QString GetFileName() const { return FFileName; }
    // The folders and files met so far that the walk could not take; cleared by the call.
    SkippedItems TakeSkipped();

private:
    void Reset();
    void ListDir();
    bool Matches(const QString& fileName) const;
    void Skip(const QString& path, const QString& message);
    // Whether a matching file can be opened by its path; if not, it is skipped with the reason.
    bool CanOpen(const QString& name, bool named);

    QString FDir;
    bool FSearchSubDir = false;
    QStringList FExts;
    QStringList FSubDirs;
    QStringList FFiles;
    std::unique_ptr<TFileSearcher> FChild;
    bool FListed = false;
    QString FFileName;
    SkippedItems FSkipped;
};
