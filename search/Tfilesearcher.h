// Lazy depth-first listing of the files under one folder whose extension is in a list:
// each folder's matching files in sorted order, then each sub-folder's whole sub-tree.
// Only the enumerators on the current path are alive at a time.
#pragma once

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

private:
    void Reset();
    void ListDir();
    bool Matches(const QString& fileName) const;

    QString FDir;
    bool FSearchSubDir = false;
    QStringList FExts;
    QStringList FSubDirs;
    QStringList FFiles;
    std::unique_ptr<TFileSearcher> FChild;
    bool FListed = false;
    QString FFileName;
};
