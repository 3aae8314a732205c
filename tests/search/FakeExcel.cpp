#include "FakeExcel.h"

#include "automation/AutomationError.h"

#include <functional>

namespace fake {
namespace {

const QString kProgId = QStringLiteral("Excel.Application");

using Handler = std::function<Variant(const QString&, const std::vector<Variant>&)>;

class Object : public AutomationObject {
public:
    Object(QStringList* log, Handler handler) : log_(log), handler_(std::move(handler)) {}
    Variant Invoke(const QString& member, InvokeKind, const std::vector<Variant>& args) override {
        log_->append(member);
        return handler_(member.toLower(), args);
    }

private:
    QStringList* log_;
    Handler handler_;
};

[[noreturn]] void Unknown(const QString& member) {
    throw AutomationError(QStringLiteral("unknown member ") + member);
}

// One found cell; FindNext recognises it by its position in the sheet's hit list.
class FoundCell : public AutomationObject {
public:
    FoundCell(QStringList* log, Cell cell, size_t index)
        : index(index), log_(log), cell_(std::move(cell)) {}
    Variant Invoke(const QString& member, InvokeKind, const std::vector<Variant>&) override {
        log_->append(member);
        const QString m = member.toLower();
        if (m == QLatin1String("column")) {
            return Variant(int32_t(cell_.column));
        }
        if (m == QLatin1String("row")) {
            return Variant(int32_t(cell_.row));
        }
        if (m == QLatin1String("text")) {
            return Variant(cell_.text);
        }
        if (m == QLatin1String("formula")) {
            return Variant(cell_.formula);
        }
        if (m == QLatin1String("comment")) {
            if (cell_.comment.isEmpty()) {
                return Variant();
            }
            const QString text = cell_.comment;
            return Variant(ObjectRef(std::make_shared<Object>(
                log_, [text](const QString&, const auto&) { return Variant(text); })));
        }
        Unknown(m);
    }

    const size_t index;

private:
    QStringList* log_;
    Cell cell_;
};

}  // namespace

std::shared_ptr<FakeExcel> FakeExcel::Install() {
    auto excel = std::make_shared<FakeExcel>();
    AutomationRegistry::Register(kProgId, excel);
    return excel;
}

void FakeExcel::Uninstall() {
    AutomationRegistry::Unregister(kProgId);
}

ObjectRef FakeExcel::CreateObject() {
    if (failCreate) {
        throw AutomationError(QStringLiteral("cannot start"));
    }
    return Application();
}

ObjectRef FakeExcel::Application() {
    auto self = shared_from_this();
    auto workbooks = std::make_shared<Object>(&log, [self](const QString& m, const auto& args) {
        if (m != QLatin1String("open")) {
            Unknown(m);
        }
        const QString path = args.at(0).ToString();
        self->log.back() += QLatin1Char(' ') + path;
        if (!self->books.count(path)) {
            throw AutomationError(QStringLiteral("cannot open ") + path);
        }
        ++self->openWorkbooks;
        return Variant(self->Workbook(path));
    });
    return std::make_shared<Object>(&log, [self, workbooks](const QString& m, const auto&) {
        if (m == QLatin1String("workbooks")) {
            return Variant(ObjectRef(workbooks));
        }
        if (m == QLatin1String("quit")) {
            ++self->quits;
            return Variant();
        }
        Unknown(m);
    });
}

ObjectRef FakeExcel::Workbook(const QString& path) {
    auto self = shared_from_this();
    const Book& book = books.at(path);
    auto sheets = std::make_shared<Object>(&log, [self, &book](const QString& m, const auto& args) {
        if (m == QLatin1String("count")) {
            return Variant(static_cast<int32_t>(book.sheets.size()));
        }
        if (m == QLatin1String("item")) {
            return Variant(self->Worksheet(book.sheets.at(size_t(args.at(0).ToInt() - 1))));
        }
        Unknown(m);
    });
    return std::make_shared<Object>(&log, [self, sheets](const QString& m, const auto&) {
        if (m == QLatin1String("worksheets")) {
            return Variant(ObjectRef(sheets));
        }
        if (m == QLatin1String("close")) {
            --self->openWorkbooks;
            return Variant();
        }
        Unknown(m);
    });
}

ObjectRef FakeExcel::Worksheet(const Sheet& sheet) {
    auto self = shared_from_this();
    return std::make_shared<Object>(&log, [self, &sheet](const QString& m, const auto&) {
        if (m == QLatin1String("name")) {
            return Variant(sheet.name);
        }
        if (m == QLatin1String("usedrange")) {
            return Variant(self->UsedRange(sheet));
        }
        Unknown(m);
    });
}

ObjectRef FakeExcel::UsedRange(const Sheet& sheet) {
    auto self = shared_from_this();
    return std::make_shared<Object>(&log, [self, &sheet](const QString& m, const auto& args) {
        if (m == QLatin1String("find")) {
            self->findArgs = args;
            if (sheet.failOnFind) {
                throw AutomationError(QStringLiteral("find failed in ") + sheet.name);
            }
            return sheet.hits.empty() ? Variant() : Variant(self->CellObject(sheet, 0));
        }
        if (m == QLatin1String("findnext")) {
            const auto* after = dynamic_cast<const FoundCell*>(args.at(0).ToObject().get());
            if (!after) {
                Unknown(m);
            }
            return Variant(self->CellObject(sheet, (after->index + 1) % sheet.hits.size()));
        }
        Unknown(m);
    });
}

ObjectRef FakeExcel::CellObject(const Sheet& sheet, size_t index) {
    return std::make_shared<FoundCell>(&log, sheet.hits.at(index), index);
}

}  // namespace fake
