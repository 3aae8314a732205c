#include "engine/objects/MemberCall.h"

#include "engine/model/EngineError.h"

namespace engine {

bool MemberCall::Is(const char* name) const {
    return kind_ != InvokeKind::PropertyPut &&
           member_.compare(QLatin1StringView(name), Qt::CaseInsensitive) == 0;
}

bool MemberCall::IsPut(const char* name) const {
    return kind_ == InvokeKind::PropertyPut &&
           member_.compare(QLatin1StringView(name), Qt::CaseInsensitive) == 0;
}

bool MemberCall::Has(size_t index) const {
    return index < args_.size() && !(args_[index].Type() == VariantType::Error &&
                                     args_[index].ErrorCode() == DispEParamNotFound);
}

const Variant& MemberCall::Required(size_t index) const {
    if (!Has(index)) {
        BadArgument();
    }
    return args_[index];
}

void MemberCall::AllowAtMost(size_t count) const {
    if (args_.size() > count) {
        BadArgument();
    }
}

void MemberCall::Unsupported() const {
    throw EngineError(
        EngineErrorKind::InvalidCall,
        QStringLiteral("オブジェクトはこのプロパティまたはメソッドをサポートしていません。"),
        member_);
}

void MemberCall::BadArgument() {
    throw EngineError(EngineErrorKind::InvalidCall,
                      QStringLiteral("引数の数が一致していないか、不正な引数を指定しています。"));
}

}  // namespace engine
