#include "engine/readers/xlsx/PlainFormulas.h"

#include "engine/readers/xlsx/FormulaText.h"

namespace engine {

int32_t PlainFormulas::Append(std::string_view formula) {
    const auto offset = static_cast<int32_t>(bytes_.size());
    bytes_.append(formula);
    return offset;
}

QString PlainFormulas::Render(int32_t offset, int32_t length) const {
    return FormulaText::Translate(QString::fromUtf8(bytes_.data() + offset, qsizetype(length)), 0,
                                  0);
}

}  // namespace engine
