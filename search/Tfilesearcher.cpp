// Candidate file walk. On this platform a hidden entry is one whose name begins with "."; a
// symbolic link to a folder is never descended into, so links cannot make the walk cycle.
#include "search/Tfilesearcher.h"

#include <QCollator>
#include <QDir>
#include <QFileInfo>
#include <algorithm>

namespace {

// Locale-aware and case-insensitive; names equal under it fall back to the exact order so
// the listing does not depend on the order the file system returned them in.
void SortNames(QStringList& names) {
    QCollator collator;
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    std::sort(names.begin(), names.end(), [&collator](const QString& a, const QString& b) {
        const int order = collator.compare(a, b);
        return order != 0 ? order < 0 : a < b;
    });
}

}  // namespace

TFileSearcher::TFileSearcher() : FExts{QStringLiteral("*")} {}

TFileSearcher::~TFileSearcher() = default;

void TFileSearcher::SetDir(const QString& dir) {
    FDir = dir;
    if (!FDir.endsWith(QLatin1Char('/'))) {
        FDir += QLatin1Char('/');
    }
    Reset();
}

void TFileSearcher::SetSearchSubDir(bool searchSubDir) {
    FSearchSubDir = searchSubDir;
    Reset();
}

void TFileSearcher::SetExts(const QStringList& exts) {
    FExts = exts;
    Reset();
}

void TFileSearcher::Reset() {
    FChild.reset();
    FListed = false;
}

bool TFileSearcher::Matches(const QString& fileName) const {
    const qsizetype dot = fileName.lastIndexOf(QLatin1Char('.'));
    const QString ext = dot < 0 ? QString() : fileName.mid(dot + 1);
    for (const QString& wanted : FExts) {
        if (wanted.isEmpty()) {
            continue;
        }
        if (wanted == QLatin1String("*") || ext.compare(wanted, Qt::CaseInsensitive) == 0) {
            return true;
        }
    }
    return false;
}

void TFileSearcher::ListDir() {
    FFiles.clear();
    FSubDirs.clear();
    const QDir dir(FDir);
    // One pass over the folder: a file that several extensions match is listed once.
    QStringList names = dir.entryList(QDir::Files | QDir::NoDotAndDotDot, QDir::Unsorted);
    names.removeIf([this](const QString& name) { return !Matches(name); });
    SortNames(names);
    for (const QString& name : names) {
        FFiles.append(FDir + name);
    }
    if (FSearchSubDir) {
        const QFileInfoList entries =
            dir.entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Unsorted);
        QStringList subDirs;
        for (const QFileInfo& entry : entries) {
            if (!entry.isSymLink()) {
                subDirs.append(entry.fileName());
            }
        }
        // The file system's own order is arbitrary here; sorted keeps runs repeatable.
        SortNames(subDirs);
        for (const QString& name : subDirs) {
            FSubDirs.append(FDir + name);
        }
    }
    FListed = true;
}

bool TFileSearcher::Next() {
    FFileName.clear();
    if (!FListed) {
        ListDir();
    }
    if (!FFiles.isEmpty()) {
        FFileName = FFiles.takeFirst();
        return true;
    }
    if (FSubDirs.isEmpty() && !FChild) {
        return false;
    }
    for (;;) {
        if (!FChild) {
            FChild = std::make_unique<TFileSearcher>();
            FChild->SetSearchSubDir(FSearchSubDir);
            FChild->SetDir(FSubDirs.takeFirst());
            FChild->SetExts(FExts);
        }
        if (FChild->Next()) {
            FFileName = FChild->GetFileName();
            return true;
        }
        FChild.reset();
        if (FSubDirs.isEmpty()) {
            return false;
        }
    }
}
