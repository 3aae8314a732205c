#include "automation/AutomationError.h"
#include "automation/AutomationObject.h"
#include "automation/Variant.h"

#include <gtest/gtest.h>

namespace {

class Dummy : public AutomationObject {
public:
    Variant Invoke(const QString&, InvokeKind, const std::vector<Variant>&) override { return {}; }
};

TEST(VariantEmptiness, OnlyEmptyAndNullReferencesAreEmpty) {
    EXPECT_TRUE(Variant().IsEmpty());
    EXPECT_TRUE(Variant(ObjectRef()).IsEmpty());
    EXPECT_EQ(Variant(ObjectRef()).Type(), VariantType::Dispatch);
    EXPECT_FALSE(Variant(ObjectRef(std::make_shared<Dummy>())).IsEmpty());
    EXPECT_FALSE(Variant::Null().IsEmpty());
    EXPECT_FALSE(Variant(int32_t{0}).IsEmpty());
    EXPECT_FALSE(Variant(QString()).IsEmpty());
    EXPECT_FALSE(Variant::Missing().IsEmpty());
}

TEST(VariantKinds, MissingIsTheParameterNotFoundError) {
    const Variant missing = Variant::Missing();
    EXPECT_EQ(missing.Type(), VariantType::Error);
    EXPECT_EQ(missing.ErrorCode(), 0x80020004u);
    EXPECT_EQ(Variant(int32_t{3}).ErrorCode(), 0u);
}

TEST(VariantConversions, AsTheAutomationValueFunctionsConvert) {
    EXPECT_EQ(Variant(true).ToInt(), -1);  // VT_BOOL true is -1
    EXPECT_EQ(Variant(false).ToInt(), 0);
    EXPECT_EQ(Variant().ToInt(), 0);
    EXPECT_EQ(Variant(QStringLiteral(" 42 ")).ToInt(), 42);
    EXPECT_EQ(Variant(QStringLiteral("2.5")).ToInt(), 2);  // half to even
    EXPECT_EQ(Variant(QStringLiteral("3.5")).ToInt(), 4);
    EXPECT_EQ(Variant(int32_t{-7}).ToString(), QStringLiteral("-7"));
    EXPECT_EQ(Variant(true).ToString(), QStringLiteral("True"));
    EXPECT_EQ(Variant().ToString(), QString());
    EXPECT_TRUE(Variant(QStringLiteral("true")).ToBool());
    EXPECT_FALSE(Variant(QStringLiteral("0")).ToBool());
    EXPECT_TRUE(Variant(int32_t{2}).ToBool());
}

TEST(VariantConversions, ImpossibleConversionsRaise) {
    EXPECT_THROW(Variant(QStringLiteral("abc")).ToInt(), AutomationError);
    EXPECT_THROW(Variant(QStringLiteral("9999999999")).ToInt(), AutomationError);
    EXPECT_THROW(Variant::Null().ToString(), AutomationError);
    EXPECT_THROW(Variant::Missing().ToInt(), AutomationError);
    EXPECT_THROW(Variant(ObjectRef(std::make_shared<Dummy>())).ToString(), AutomationError);
    EXPECT_THROW(Variant(int32_t{1}).ToObject(), AutomationError);
    EXPECT_THROW(Variant(QStringLiteral("maybe")).ToBool(), AutomationError);
}

TEST(VariantCopies, ShareTheObjectReference) {
    auto object = std::make_shared<Dummy>();
    std::vector<Variant> values{Variant(ObjectRef(object))};
    values.push_back(values.front());
    EXPECT_EQ(object.use_count(), 3);
    EXPECT_EQ(values.back().ToObject(), object);
    values.pop_back();
    EXPECT_EQ(object.use_count(), 2);
    values.front() = Variant(int32_t{1});
    EXPECT_EQ(object.use_count(), 1);
}

}  // namespace
