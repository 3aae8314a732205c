// A version block read back from an executable: its records, looked up by query path. The
// layout is in dialogs/VersionBlockLayout.h.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringView>
#include <optional>
#include <utility>
#include <vector>

#include "dialogs/VersionBlockLayout.h"

class VersionBlock {
public:
    // Every length is checked against the bytes present; nullopt when they are not a block.
    static std::optional<VersionBlock> Parse(const QByteArray& bytes);

    // The value stored under the path; paths match without regard to letter case, as the
    // platform's version functions do.
    std::optional<QByteArray> Query(QStringView path) const;

private:
    std::vector<std::pair<QString, QByteArray>> records_;
};
