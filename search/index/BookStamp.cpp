#include "search/index/BookStamp.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QFile>
#include <QFileInfo>

namespace {

constexpr qint64 EndBytes = 4096;

}  // namespace

std::optional<BookStamp> BookStamp::Of(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return std::nullopt;
    }
    const QFileInfo info(file);
    BookStamp stamp;
    stamp.size = file.size();
    stamp.modified = info.lastModified().toMSecsSinceEpoch();
    QCryptographicHash hash(QCryptographicHash::Sha1);
    hash.addData(file.read(EndBytes));
    if (stamp.size > EndBytes) {
        if (!file.seek(std::max(EndBytes, stamp.size - EndBytes))) {
            return std::nullopt;
        }
        hash.addData(file.read(EndBytes));
    }
    if (file.error() != QFileDevice::NoError) {
        return std::nullopt;
    }
    stamp.hash = hash.result();
    return stamp;
}
