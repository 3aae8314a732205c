// The workbook model: worksheets in workbook order (chart sheets are not worksheets), a
// string pool shared by all sheets, and the number-format codes the cells refer to.
// Worksheets are read on first access, so a search that stops early pays for what it read;
// deferred strings are made when first read. A workbook is used by one thread at a time.
#pragma once

#include "engine/model/BookCalculation.h"
#include "engine/model/BookReader.h"
#include "engine/model/DeferredText.h"
#include "engine/model/Worksheet.h"

#include <QHash>
#include <QString>
#include <memory>
#include <vector>

namespace engine {

class Workbook {
public:
    Workbook(QString path, std::unique_ptr<BookReader> reader);
    ~Workbook();

    const QString& Path() const { return path_; }

    // Filling (readers).
    void AddSheetName(const QString& name);
    uint32_t AddString(const QString& text);            // appends; returns the pool index
    uint32_t AddStrings(std::vector<QString>&& texts);  // appends; returns the first's index
    // Makes the pool entry at `index` (appended, empty) the text `source` renders for
    // (first, second), rendered when it is first read.
    void DeferString(uint32_t index, std::shared_ptr<const DeferredText> source, int32_t first,
                     int32_t second);
    uint32_t AddFormat(const QString& code);  // deduplicated; returns the format index
    void SetDate1904(bool value) { date1904_ = value; }
    // What computes the formulas stored without a result (none: they stay empty).
    void SetCalculation(std::unique_ptr<BookCalculation> calculation);

    // Reading.
    int SheetCount() const { return static_cast<int>(sheetNames_.size()); }
    const QString& SheetName(int index) const { return sheetNames_.at(index); }
    Worksheet& Sheet(int index);  // 0-based; reads it on first access (raises EngineError)
    const QString& String(uint32_t index) const;  // the empty string for NoString
    size_t StringCount() const { return strings_.size(); }
    const QString& Format(uint32_t index) const;  // "General" for an unknown index
    bool Date1904() const { return date1904_; }
    // About how much memory the read parts hold: sheets read so far, strings and formats.
    size_t MemoryBytes() const;

private:
    struct Deferred {
        int32_t first;
        int32_t second;
        std::shared_ptr<const DeferredText> source;
    };
    void Render(uint32_t index) const;

    QString path_;
    std::unique_ptr<BookReader> reader_;
    std::unique_ptr<BookCalculation> calculation_;
    std::vector<QString> sheetNames_;
    std::vector<std::unique_ptr<Worksheet>> sheets_;
    // Deferred strings are filled in when read: the pool is what String() makes of it.
    mutable std::vector<QString> strings_;
    mutable size_t stringBytes_ = 0;  // what the pool's strings hold, kept as they are added
    std::vector<Deferred> deferred_;  // in the order deferred
    // By pool index, once something is deferred: 1 + its deferred_ entry while it is not
    // rendered, else 0. Looked up for every formula a search compares, so not searched for.
    mutable std::vector<uint32_t> deferredSlot_;
    std::vector<QString> formats_;
    QHash<QString, uint32_t> formatIndex_;
    bool date1904_ = false;
};

}  // namespace engine
