// The wrappers against a recording stand-in for the application: each operation must make
// exactly the call the application's object model expects (member name as spelled, kind,
// arguments in parameter order) and convert the answer as documented.
#include "automation/AutomationError.h"
#include "automation/AutomationObject.h"
#include "automation/AutomationRegistry.h"
#include "automation/Texcel.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

struct Call {
    QString member;
    InvokeKind kind;
    std::vector<Variant> args;
};

// Answers every call with `reply` and records it.
class RecordingObject : public AutomationObject {
public:
    std::function<Variant(const Call&)> reply = [](const Call&) { return Variant(); };
    std::vector<Call> calls;

    Variant Invoke(const QString& member, InvokeKind kind,
                   const std::vector<Variant>& args) override {
        calls.push_back({member, kind, args});
        return reply(calls.back());
    }
};

std::shared_ptr<RecordingObject> NewObject() {
    return std::make_shared<RecordingObject>();
}

Variant Wrap(const std::shared_ptr<RecordingObject>& object) {
    return Variant(ObjectRef(object));
}

struct Expectation {
    const char* name;
    std::function<void(const Variant&)> operation;
    const char* member;
    InvokeKind kind;
    std::vector<Variant> args;
};

class WrapperCallTest : public testing::TestWithParam<Expectation> {};

TEST_P(WrapperCallTest, MakesExactlyTheDocumentedCall) {
    const Expectation& e = GetParam();
    auto object = NewObject();
    object->reply = [](const Call&) { return Variant(int32_t{1}); };
    e.operation(Wrap(object));
    ASSERT_EQ(object->calls.size(), 1u);
    const Call& call = object->calls.front();
    EXPECT_EQ(call.member, QString::fromLatin1(e.member));  // exact spelling, not just case
    EXPECT_EQ(call.kind, e.kind);
    ASSERT_EQ(call.args.size(), e.args.size());
    for (size_t i = 0; i < e.args.size(); ++i) {
        EXPECT_EQ(call.args[i].Type(), e.args[i].Type()) << "argument " << i;
        if (e.args[i].Type() == VariantType::Error) {
            EXPECT_EQ(call.args[i].ErrorCode(), e.args[i].ErrorCode()) << "argument " << i;
        } else if (e.args[i].Type() != VariantType::Dispatch) {
            EXPECT_EQ(call.args[i].ToString(), e.args[i].ToString()) << "argument " << i;
        }
    }
}

using namespace Excel;

INSTANTIATE_TEST_SUITE_P(
    Members, WrapperCallTest,
    testing::Values(
        Expectation{"SetVisible",
                    [](const Variant& v) { TExcel(v).SetVisible(true); },
                    "Visible",
                    InvokeKind::PropertyPut,
                    {Variant(true)}},
        Expectation{
            "Quit", [](const Variant& v) { TExcel(v).Quit(); }, "Quit", InvokeKind::Method, {}},
        Expectation{"Workbooks",
                    [](const Variant& v) { TExcel(v).Workbooks(); },
                    "Workbooks",
                    InvokeKind::PropertyGet,
                    {}},
        Expectation{"Open",
                    [](const Variant& v) { TWorkbooks(v).Open(QStringLiteral("C:/a.xls")); },
                    "Open",
                    InvokeKind::Method,
                    {Variant(QStringLiteral("C:/a.xls"))}},
        Expectation{"WorkSheets",
                    [](const Variant& v) { TWorkbook(v).WorkSheets(); },
                    "WorkSheets",
                    InvokeKind::PropertyGet,
                    {}},
        Expectation{"Close",
                    [](const Variant& v) { TWorkbook(v).Close(); },
                    "Close",
                    InvokeKind::Method,
                    {}},
        Expectation{"Count",
                    [](const Variant& v) { TWorksheets(v).Count(); },
                    "Count",
                    InvokeKind::PropertyGet,
                    {}},
        Expectation{"Item",
                    [](const Variant& v) { TWorksheets(v).Item(1); },
                    "item",
                    InvokeKind::PropertyGet,
                    {Variant(int32_t{1})}},
        Expectation{"Name",
                    [](const Variant& v) { TWorksheet(v).Name(); },
                    "Name",
                    InvokeKind::PropertyGet,
                    {}},
        Expectation{"SheetActivate",
                    [](const Variant& v) { TWorksheet(v).Activate(); },
                    "Activate",
                    InvokeKind::Method,
                    {}},
        // Column first in the wrapper, row first to the application: C7 is row 7, column 3.
        Expectation{"Cells",
                    [](const Variant& v) { TWorksheet(v).Cells(3, 7); },
                    "Cells",
                    InvokeKind::PropertyGet,
                    {Variant(int32_t{7}), Variant(int32_t{3})}},
        Expectation{"UsedRange",
                    [](const Variant& v) { TWorksheet(v).UsedRange(); },
                    "UsedRange",
                    InvokeKind::PropertyGet,
                    {}},
        Expectation{"Find",
                    [](const Variant& v) {
                        TRange(v).Find(QStringLiteral("語"), Variant::Missing(), -4163, 2, 1, 1,
                                       true, false);
                    },
                    "Find",
                    InvokeKind::Method,
                    {Variant(QStringLiteral("語")), Variant::Missing(), Variant(int32_t{-4163}),
                     Variant(int32_t{2}), Variant(int32_t{1}), Variant(int32_t{1}), Variant(true),
                     Variant(false)}},
        Expectation{"Column",
                    [](const Variant& v) { TRange(v).Column(); },
                    "Column",
                    InvokeKind::PropertyGet,
                    {}},
        Expectation{
            "Row", [](const Variant& v) { TRange(v).Row(); }, "Row", InvokeKind::PropertyGet, {}},
        Expectation{"Text",
                    [](const Variant& v) { TRange(v).Text(); },
                    "Text",
                    InvokeKind::PropertyGet,
                    {}},
        Expectation{"Formula",
                    [](const Variant& v) { TRange(v).Formula(); },
                    "Formula",
                    InvokeKind::PropertyGet,
                    {}},
        Expectation{"Comment",
                    [](const Variant& v) { TRange(v).Comment(); },
                    "Comment",
                    InvokeKind::PropertyGet,
                    {}},
        Expectation{"RangeActivate",
                    [](const Variant& v) { TRange(v).Activate(); },
                    "Activate",
                    InvokeKind::Method,
                    {}},
        Expectation{"CommentText",
                    [](const Variant& v) { TComment(v).Text(); },
                    "Text",
                    InvokeKind::Method,
                    {}}),
    [](const testing::TestParamInfo<Expectation>& info) { return info.param.name; });

TEST(TRangeFind, NothingFoundBecomesIntegerZero) {
    for (const Variant& nothing : {Variant(), Variant(ObjectRef())}) {
        auto object = NewObject();
        object->reply = [&](const Call&) { return nothing; };
        const TRange found =
            TRange(Wrap(object))
                .Find(QStringLiteral("x"), Variant::Missing(), -4123, 1, 1, 1, false, false);
        EXPECT_EQ(found.Value().Type(), VariantType::Int32);
        EXPECT_EQ(found.Value().ToInt(), 0);
        EXPECT_FALSE(found.Value().IsDispatch());
    }
}

TEST(TRangeFind, FoundCellIsPassedThroughAndFindNextGetsIt) {
    auto range = NewObject();
    auto cell = NewObject();
    range->reply = [&](const Call&) { return Wrap(cell); };
    TRange used(Wrap(range));
    TRange found = used.Find(QStringLiteral("x"), Variant::Missing(), -4123, 1, 1, 1, false, false);
    EXPECT_EQ(found.Value().ToObject(), cell);

    used.FindNext(found);
    ASSERT_EQ(range->calls.size(), 2u);
    EXPECT_EQ(range->calls[1].member, QStringLiteral("FindNext"));
    ASSERT_EQ(range->calls[1].args.size(), 1u);
    EXPECT_EQ(range->calls[1].args[0].ToObject(), cell);
}

TEST(TRangeFindNext, EmptyResultIsNotReplaced) {
    auto range = NewObject();
    TRange used(Wrap(range));
    const TRange next = used.FindNext(TRange(Wrap(NewObject())));
    EXPECT_EQ(next.Value().Type(), VariantType::Empty);
}

TEST(TRangeComment, MissingCommentStaysEmpty) {
    auto cell = NewObject();
    cell->reply = [](const Call&) { return Variant(ObjectRef()); };
    EXPECT_TRUE(TRange(Wrap(cell)).Comment().Value().IsEmpty());
}

TEST(TWorkbooksReadAhead, NamesEachWorkbookInOrder) {
    auto workbooks = NewObject();
    TWorkbooks(Wrap(workbooks)).ReadAhead({QStringLiteral("/a.xlsx"), QStringLiteral("/b.xls")});
    ASSERT_EQ(workbooks->calls.size(), 2u);
    for (size_t i = 0; i < 2; ++i) {
        EXPECT_EQ(workbooks->calls[i].member, QStringLiteral("ReadAhead"));
        EXPECT_EQ(workbooks->calls[i].kind, InvokeKind::Method);
        ASSERT_EQ(workbooks->calls[i].args.size(), 1u);
    }
    EXPECT_EQ(workbooks->calls[1].args[0].ToString(), QStringLiteral("/b.xls"));
}

TEST(TWorkbooksReadAhead, AnApplicationWithoutTheMemberIsAskedOnceAndGoesOn) {
    auto workbooks = NewObject();
    workbooks->reply = [](const Call&) -> Variant { throw AutomationError("unknown name"); };
    EXPECT_NO_THROW(TWorkbooks(Wrap(workbooks))
                        .ReadAhead({QStringLiteral("/a.xlsx"), QStringLiteral("/b.xls")}));
    EXPECT_EQ(workbooks->calls.size(), 1u);
}

TEST(Conversions, CallOnSomethingThatIsNoObjectRaises) {
    // What the search would do if it ignored Find's integer 0.
    EXPECT_THROW(TRange(Variant(int32_t{0})).Column(), AutomationError);
    EXPECT_THROW(TRange(Variant(ObjectRef())).Row(), AutomationError);
}

// A server whose behaviour each test chooses.
class StubServer : public AutomationServer {
public:
    std::function<ObjectRef()> active = [] { return nullptr; };
    std::function<ObjectRef()> create = [] { return nullptr; };
    ObjectRef GetActiveObject() override { return active(); }
    ObjectRef CreateObject() override { return create(); }
};

class ApplicationFactoryTest : public testing::Test {
protected:
    // Registered under another spelling: ProgIDs are not case sensitive.
    void SetUp() override { servers_.Register(QStringLiteral("excel.application"), server_); }
    std::shared_ptr<StubServer> server_ = std::make_shared<StubServer>();
    AutomationRegistry servers_;
};

TEST_F(ApplicationFactoryTest, NothingRunningGivesNull) {
    EXPECT_EQ(TExcel::GetActiveObject(servers_), nullptr);
    server_->active = []() -> ObjectRef { throw AutomationError(QStringLiteral("none")); };
    EXPECT_EQ(TExcel::GetActiveObject(servers_), nullptr);
}

TEST_F(ApplicationFactoryTest, OtherErrorsOfAttachPropagate) {
    server_->active = []() -> ObjectRef { throw std::runtime_error("broken"); };
    EXPECT_THROW(TExcel::GetActiveObject(servers_), std::runtime_error);
}

TEST_F(ApplicationFactoryTest, CreateTurnsEveryFailureIntoNull) {
    server_->create = []() -> ObjectRef { throw AutomationError(QStringLiteral("refused")); };
    EXPECT_EQ(TExcel::CreateObject(servers_), nullptr);
    server_->create = []() -> ObjectRef { throw std::runtime_error("crashed"); };
    EXPECT_EQ(TExcel::CreateObject(servers_), nullptr);
}

TEST_F(ApplicationFactoryTest, FactoriesWrapTheServersObjectAndDestroyingNeverQuits) {
    auto application = NewObject();
    server_->create = [&] { return ObjectRef(application); };
    server_->active = [&] { return ObjectRef(application); };
    {
        auto created = TExcel::CreateObject(servers_);
        ASSERT_NE(created, nullptr);
        EXPECT_EQ(created->Value().ToObject(), application);
        auto attached = TExcel::GetActiveObject(servers_);
        ASSERT_NE(attached, nullptr);
    }
    EXPECT_TRUE(application->calls.empty());
}

TEST_F(ApplicationFactoryTest, NoServerGivesNull) {
    servers_.Unregister(QStringLiteral("EXCEL.APPLICATION"));
    EXPECT_EQ(TExcel::CreateObject(servers_), nullptr);
    EXPECT_EQ(TExcel::GetActiveObject(servers_), nullptr);
}

}  // namespace
