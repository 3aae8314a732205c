#include "engine/model/Workbook.h"

#include "engine/model/CellText.h"
#include "engine/model/EngineError.h"
#include "engine/model/ReadError.h"

#include <iterator>
#include <new>

namespace engine {
namespace {

const QString& EmptyString() {
    static const QString empty;
    return empty;
}

// A string's block: its characters and a header, rounded to what malloc hands out.
size_t StringBytes(const QString& text) {
    return sizeof(QString) + (text.isEmpty() ? 0 : size_t(text.capacity()) * 2 + 32);
}

const QString& GeneralCode() {
    static const QString general = QStringLiteral("General");
    return general;
}

}  // namespace

Workbook::Workbook(QString path, std::unique_ptr<BookReader> reader)
    : path_(std::move(path)), reader_(std::move(reader)) {
    AddFormat(GeneralCode());
}

Workbook::~Workbook() = default;

void Workbook::SetCalculation(std::unique_ptr<BookCalculation> calculation) {
    calculation_ = std::move(calculation);
}

void Workbook::AddSheetName(const QString& name) {
    sheetNames_.push_back(name);
    sheets_.emplace_back();
}

uint32_t Workbook::AddString(const QString& text) {
    strings_.push_back(text);
    CellText::Cut(strings_.back());
    stringBytes_ += StringBytes(strings_.back());
    return static_cast<uint32_t>(strings_.size() - 1);
}

uint32_t Workbook::AddStrings(std::vector<QString>&& texts) {
    const auto base = static_cast<uint32_t>(strings_.size());
    for (QString& text : texts) {
        CellText::Cut(text);
        stringBytes_ += StringBytes(text);
    }
    strings_.insert(strings_.end(), std::make_move_iterator(texts.begin()),
                    std::make_move_iterator(texts.end()));
    return base;
}

uint32_t Workbook::AddFormat(const QString& code) {
    auto it = formatIndex_.constFind(code);
    if (it != formatIndex_.constEnd()) {
        return it.value();
    }
    formats_.push_back(code);
    const auto index = static_cast<uint32_t>(formats_.size() - 1);
    formatIndex_.insert(code, index);
    return index;
}

Worksheet& Workbook::Sheet(int index) {
    if (index < 0 || index >= SheetCount()) {
        throw EngineError(EngineErrorKind::InvalidCall,
                          QStringLiteral("インデックスが有効範囲にありません。"),
                          QStringLiteral("sheet index %1 of %2").arg(index).arg(SheetCount()));
    }
    auto& slot = sheets_[static_cast<size_t>(index)];
    if (!slot) {
        try {
            auto sheet = std::make_unique<Worksheet>(sheetNames_[static_cast<size_t>(index)]);
            reader_->ReadWorksheet(index, *this, *sheet);
            sheet->Finish();
            // In place before it is calculated: its formulas may read it through other sheets.
            slot = std::move(sheet);
            if (calculation_ && slot->HasUncalculated()) {
                calculation_->Calculate(*this, index);
            }
        } catch (const ReadError& error) {
            throw EngineError::ForFile(error, path_);
        } catch (const std::bad_alloc&) {
            // The sheet's memory is freed; the book is reported, the run goes on.
            sheets_[static_cast<size_t>(index)].reset();
            throw EngineError::ForFile(ReadError(ReadErrorCode::OutOfMemory), path_);
        }
    }
    return *slot;
}

size_t Workbook::MemoryBytes() const {
    size_t bytes = stringBytes_;
    for (const auto& sheet : sheets_) {
        if (sheet) {
            bytes +=
                sheet->Cells().capacity() * sizeof(Cell) + sheet->Notes().size() * sizeof(CellNote);
            for (const CellNote& note : sheet->Notes()) {
                bytes += StringBytes(note.text) - sizeof(QString);
            }
        }
    }
    for (const QString& code : formats_) {
        bytes += 2 * StringBytes(code);  // the list and the index
    }
    return bytes;
}

void Workbook::DeferString(uint32_t index, std::shared_ptr<const DeferredText> source,
                           int32_t first, int32_t second) {
    if (index >= strings_.size()) {
        return;  // no such entry to fill in
    }
    if (deferredSlot_.size() < strings_.size()) {
        stringBytes_ += (strings_.size() - deferredSlot_.size()) * sizeof(uint32_t);
        deferredSlot_.resize(strings_.size());
    }
    stringBytes_ += sizeof(Deferred) + source->HeldBytes(first, second);
    deferred_.push_back({first, second, std::move(source)});
    deferredSlot_[index] = static_cast<uint32_t>(deferred_.size());
}

const QString& Workbook::String(uint32_t index) const {
    if (index >= strings_.size()) {
        return EmptyString();
    }
    if (index < deferredSlot_.size() && deferredSlot_[index] != 0) {
        Render(index);
    }
    return strings_[index];
}

void Workbook::Render(uint32_t index) const {
    const Deferred& entry = deferred_[deferredSlot_[index] - 1];
    QString& text = strings_[index];
    text = entry.source->Render(entry.first, entry.second);
    CellText::Cut(text);
    stringBytes_ += StringBytes(text);
    deferredSlot_[index] = 0;
}

const QString& Workbook::Format(uint32_t index) const {
    return index < formats_.size() ? formats_[index] : GeneralCode();
}

}  // namespace engine
