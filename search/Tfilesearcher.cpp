// Candidate file walk. On this platform a hidden entry is one whose name begins with "."; a
// symbolic link to a folder is never descended into, so links cannot make the walk cycle.
// Folders are listed through std::filesystem, which reports a folder it cannot read and gives
// names as the bytes they are, so a name that is not UTF-8 is noticed instead of mangled.
#include "search/Tfilesearcher.h"

#include <limits.h>
#include <QCollator>
#include <QDir>
#include <QFile>
#include <QStringDecoder>
#include <algorithm>
#include <filesystem>
#include <system_error>
#include <utility>

namespace fs = std::filesystem;

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

// The name as text; false when its bytes are not UTF-8 (`name` then shows U+FFFD for them).
bool DecodeName(const std::string& bytes, QString& name) {
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    name = decoder(QByteArrayView(bytes.data(), qsizetype(bytes.size())));
    return !decoder.hasError();
}

QString Native(const QString& path) {
    return QDir::toNativeSeparators(path);
}

QString FolderMessage(const QString& folder, const std::error_code& error) {
    if (error == std::errc::filename_too_long) {
        return QStringLiteral("フォルダー「%1」はパスが長すぎるため読み込めません。")
            .arg(Native(folder));
    }
    return QStringLiteral("フォルダー「%1」を読み込めません (%2)。")
        .arg(Native(folder), QString::fromLocal8Bit(error.message()));
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

void TFileSearcher::Skip(const QString& path, const QString& message) {
    FSkipped.append({path, message});
}

SkippedItems TFileSearcher::TakeSkipped() {
    return std::exchange(FSkipped, {});
}

bool TFileSearcher::CanOpen(const QString& name, bool named) {
    const QString path = FDir + name;
    if (!named) {
        Skip(path,
             QStringLiteral("ファイル名「%1」は UTF-8 ではないため開けません。").arg(Native(path)));
        return false;
    }
    if (QFile::encodeName(path).size() >= PATH_MAX) {
        Skip(path,
             QStringLiteral("ファイル「%1」はパスが長すぎるため開けません。").arg(Native(path)));
        return false;
    }
    return true;
}

void TFileSearcher::ListDir() {
    FFiles.clear();
    FSubDirs.clear();
    FListed = true;
    const QString folder = FDir.size() > 1 ? FDir.chopped(1) : FDir;
    std::error_code error;
    fs::directory_iterator it(fs::path(QFile::encodeName(FDir).toStdString()), error);
    // One pass over the folder: a file that several extensions match is listed once.
    QStringList names, subDirs;
    for (; !error && it != fs::directory_iterator(); it.increment(error)) {
        const fs::directory_entry& entry = *it;
        QString name;
        const bool named = DecodeName(entry.path().filename().native(), name);
        if (name.startsWith(QLatin1Char('.'))) {
            continue;
        }
        std::error_code typeError;
        if (entry.is_regular_file(typeError)) {
            if (Matches(name) && CanOpen(name, named)) {
                names.append(name);
            }
        } else if (FSearchSubDir && !entry.is_symlink(typeError) && entry.is_directory(typeError)) {
            if (named) {
                subDirs.append(name);
            } else {
                Skip(FDir + name,
                     QStringLiteral("フォルダー名「%1」は UTF-8 ではないため検索できません。")
                         .arg(Native(FDir + name)));
            }
        }
    }
    if (error) {
        Skip(folder, FolderMessage(folder, error));
    }
    SortNames(names);
    for (const QString& name : names) {
        FFiles.append(FDir + name);
    }
    // The file system's own order is arbitrary here; sorted keeps runs repeatable.
    SortNames(subDirs);
    for (const QString& name : subDirs) {
        FSubDirs.append(FDir + name);
    }
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
        const bool found = FChild->Next();
        FSkipped.append(FChild->TakeSkipped());
        if (found) {
            FFileName = FChild->GetFileName();
            return true;
        }
        FChild.reset();
        if (FSubDirs.isEmpty()) {
            return false;
        }
    }
}
