#include "automation/Texcel.h"

#include "automation/AutomationError.h"
#include "automation/AutomationObject.h"
#include "automation/AutomationRegistry.h"

#include <vector>

namespace {

const QString& ProgId() {
    static const QString id = QStringLiteral("Excel.Application");
    return id;
}

// One late-bound call on the object a wrapper holds.
Variant Call(const Variant& target, const QString& member, InvokeKind kind,
             const std::vector<Variant>& args = {}) {
    const ObjectRef object = target.IsDispatch() ? target.ToObject() : nullptr;
    if (!object) {
        throw AutomationError(QStringLiteral("オブジェクトが必要です。"));
    }
    return object->Invoke(member, kind, args);
}

Variant Get(const Variant& target, const QString& member, const std::vector<Variant>& args = {}) {
    return Call(target, member, InvokeKind::PropertyGet, args);
}

Variant Method(const Variant& target, const QString& member,
               const std::vector<Variant>& args = {}) {
    return Call(target, member, InvokeKind::Method, args);
}

// Ends each part of the index members' texts.
constexpr QChar IndexSeparator = QChar(0x1F);

}  // namespace

std::unique_ptr<TExcel> TExcel::GetActiveObject(const AutomationRegistry& servers) {
    const auto server = servers.Find(ProgId());
    if (!server) {
        return nullptr;
    }
    ObjectRef application;
    try {
        application = server->GetActiveObject();
    } catch (const AutomationError&) {
        return nullptr;  // nothing runs, or the server cannot tell
    }
    return application ? std::make_unique<TExcel>(Variant(application)) : nullptr;
}

std::unique_ptr<TExcel> TExcel::CreateObject(const AutomationRegistry& servers) {
    const auto server = servers.Find(ProgId());
    if (!server) {
        return nullptr;
    }
    try {
        ObjectRef application = server->CreateObject();
        return application ? std::make_unique<TExcel>(Variant(application)) : nullptr;
    } catch (...) {
        return nullptr;  // the callers report any failure as "could not start"
    }
}

TExcel::TExcel(Variant application) : application_(std::move(application)) {}

TExcel::~TExcel() = default;

void TExcel::SetVisible(bool visible) {
    Call(application_, QStringLiteral("Visible"), InvokeKind::PropertyPut, {Variant(visible)});
}

void TExcel::SetFindHiddenCells(bool find) {
    try {
        Call(application_, QStringLiteral("FindHiddenCells"), InvokeKind::PropertyPut,
             {Variant(find)});
    } catch (const AutomationError&) {
        // Not this application's property: its Find keeps its own rule.
    }
}

std::optional<QStringList> TExcel::IndexLiterals(const QString& what) {
    try {
        const Variant literals =
            Method(application_, QStringLiteral("IndexLiterals"), {Variant(what)});
        return literals.ToString().split(IndexSeparator, Qt::SkipEmptyParts);
    } catch (const AutomationError&) {
        return std::nullopt;
    }
}

void TExcel::Quit() {
    Method(application_, QStringLiteral("Quit"));
}

Excel::TWorkbooks TExcel::Workbooks() {
    return Excel::TWorkbooks(Get(application_, QStringLiteral("Workbooks")));
}

namespace Excel {

TWorkbook TWorkbooks::Open(const QString& fileName) {
    return TWorkbook(Method(value_, QStringLiteral("Open"), {Variant(fileName)}));
}

void TWorkbooks::ReadAhead(const QStringList& fileNames) {
    try {
        for (const QString& fileName : fileNames) {
            Method(value_, QStringLiteral("ReadAhead"), {Variant(fileName)});
        }
    } catch (const AutomationError&) {
        // The application cannot read ahead; each workbook is read when it is opened.
    }
}

TWorksheets TWorkbook::WorkSheets() {
    return TWorksheets(Get(value_, QStringLiteral("WorkSheets")));
}

std::optional<TIndexTexts> TWorkbook::IndexTexts(int lookIn) {
    try {
        const Variant list = Method(value_, QStringLiteral("IndexTexts"), {Variant(lookIn)});
        if (list.Type() != VariantType::String) {
            return std::nullopt;
        }
        const QString text = list.ToString();
        const qsizetype end = text.indexOf(IndexSeparator);
        if (end < 0) {
            return std::nullopt;
        }
        return TIndexTexts{text.left(end), text.mid(end + 1)};
    } catch (const AutomationError&) {
        return std::nullopt;
    }
}

void TWorkbook::Close() {
    Method(value_, QStringLiteral("Close"));
}

int TWorksheets::Count() {
    return Get(value_, QStringLiteral("Count")).ToInt();
}

TWorksheet TWorksheets::Item(int index) {
    return TWorksheet(Get(value_, QStringLiteral("item"), {Variant(int32_t{index})}));
}

QString TWorksheet::Name() {
    return Get(value_, QStringLiteral("Name")).ToString();
}

void TWorksheet::Activate() {
    Method(value_, QStringLiteral("Activate"));
}

TRange TWorksheet::Cells(int column, int row) {
    return TRange(
        Get(value_, QStringLiteral("Cells"), {Variant(int32_t{row}), Variant(int32_t{column})}));
}

TRange TWorksheet::UsedRange() {
    return TRange(Get(value_, QStringLiteral("UsedRange")));
}

TRange TRange::Find(const QString& what, const Variant& after, int lookIn, int lookAt,
                    int searchOrder, int searchDirection, bool matchCase, bool matchByte) {
    Variant found =
        Method(value_, QStringLiteral("Find"),
               {Variant(what), after, Variant(int32_t{lookIn}), Variant(int32_t{lookAt}),
                Variant(int32_t{searchOrder}), Variant(int32_t{searchDirection}),
                Variant(matchCase), Variant(matchByte)});
    return TRange(found.IsEmpty() ? Variant(int32_t{0}) : std::move(found));
}

TRange TRange::FindNext(const TRange& after) {
    return TRange(Method(value_, QStringLiteral("FindNext"), {after.value_}));
}

int TRange::Column() {
    return Get(value_, QStringLiteral("Column")).ToInt();
}

int TRange::Row() {
    return Get(value_, QStringLiteral("Row")).ToInt();
}

QString TRange::Text() {
    return Get(value_, QStringLiteral("Text")).ToString();
}

QString TRange::Formula() {
    return Get(value_, QStringLiteral("Formula")).ToString();
}

TComment TRange::Comment() {
    return TComment(Get(value_, QStringLiteral("Comment")));
}

void TRange::Activate() {
    Method(value_, QStringLiteral("Activate"));
}

QString TComment::Text() {
    return Method(value_, QStringLiteral("Text")).ToString();
}

}  // namespace Excel
