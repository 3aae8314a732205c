#include "FakeExcel.h"

#include "automation/AutomationError.h"

#include <functional>

namespace fake {
namespace {

using Members = std::function<Variant(const QString& member, const std::vector<Variant>& args)>;

class Object : public AutomationObject {
public:
    Object(std::shared_ptr<FakeExcel> excel, Members members, size_t index)
        : index(index), excel_(std::move(excel)), members_(std::move(members)) {}
    Variant Invoke(const QString& member, InvokeKind, const std::vector<Variant>& args) override {
        excel_->log.append(member);
        return members_(member.toLower(), args);
    }
    const size_t index;  // a found cell's position in its sheet's hit list

private:
    std::shared_ptr<FakeExcel> excel_;
    Members members_;
};

Variant Make(const std::shared_ptr<FakeExcel>& excel, Members members, size_t index = 0) {
    return Variant(ObjectRef(std::make_shared<Object>(excel, std::move(members), index)));
}

[[noreturn]] void Unknown(const QString& member) {
    throw AutomationError("unknown member " + member);
}

Variant FoundCell(const std::shared_ptr<FakeExcel>& excel, const Sheet& sheet, size_t index) {
    const Cell cell = sheet.hits.at(index);
    return Make(
        excel,
        [excel, cell](const QString& m, const auto&) {
            if (m == "column" || m == "row") {
                return Variant(int32_t(m == "column" ? cell.column : cell.row));
            }
            if (m == "text" || m == "formula") {
                return Variant(cell.text);
            }
            if (m != "comment") {
                Unknown(m);
            }
            if (cell.comment.isEmpty()) {
                return Variant();
            }
            return Make(excel,
                        [cell](const QString&, const auto&) { return Variant(cell.comment); });
        },
        index);
}

Variant UsedRange(const std::shared_ptr<FakeExcel>& excel, const Sheet& sheet) {
    return Make(excel, [excel, &sheet](const QString& m, const auto& args) {
        if (m == "find") {
            excel->findArgs = args;
            if (sheet.failOnFind) {
                throw AutomationError("find failed in " + sheet.name);
            }
            return sheet.hits.empty() ? Variant() : FoundCell(excel, sheet, 0);
        }
        if (m != "findnext") {
            Unknown(m);
        }
        const auto& after = dynamic_cast<const Object&>(*args.at(0).ToObject());
        return FoundCell(excel, sheet, (after.index + 1) % sheet.hits.size());
    });
}

Variant Workbook(const std::shared_ptr<FakeExcel>& excel, const Book& book) {
    const Variant sheets = Make(excel, [excel, &book](const QString& m, const auto& args) {
        if (m == "count") {
            return Variant(int32_t(book.size()));
        }
        const Sheet& sheet = book.at(size_t(args.at(0).ToInt() - 1));
        return Make(excel, [excel, &sheet](const QString& m, const auto&) {
            return m == "name" ? Variant(sheet.name) : UsedRange(excel, sheet);
        });
    });
    return Make(excel, [excel, sheets](const QString& m, const auto&) {
        if (m == "close") {
            --excel->openBooks;
            return Variant();
        }
        return sheets;
    });
}

}  // namespace

std::shared_ptr<FakeExcel> FakeExcel::Install(AutomationRegistry& servers) {
    auto excel = std::make_shared<FakeExcel>();
    servers.Register("Excel.Application", excel);
    return excel;
}

ObjectRef FakeExcel::CreateObject() {
    if (failCreate) {
        throw AutomationError("cannot start");
    }
    auto self = shared_from_this();
    const Variant workbooks = Make(self, [self](const QString& m, const auto& args) {
        const QString path = args.at(0).ToString();
        self->log.back() += " " + path;
        if (m == "readahead") {
            return Variant();
        }
        if (!self->books.count(path)) {
            throw AutomationError("cannot open " + path);
        }
        ++self->openBooks;
        return Workbook(self, self->books.at(path));
    });
    return Make(self,
                [self, workbooks](const QString& m, const auto&) {
                    if (m == "quit") {
                        ++self->quits;
                        return Variant();
                    }
                    return workbooks;
                })
        .ToObject();
}

}  // namespace fake
