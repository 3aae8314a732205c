#include "engine/readers/xls/FormulaDecompiler.h"

#include "engine/format/GeneralNumber.h"
#include "engine/model/ReadError.h"
#include "engine/readers/xls/BiffPayload.h"
#include "engine/readers/xls/BiffReference.h"
#include "engine/readers/xls/CodePage.h"
#include "engine/readers/xls/FunctionTable.h"
#include "engine/readers/xls/XlsLinkTable.h"

#include <QStringList>
#include <string_view>
#include <vector>

namespace engine {
namespace {

constexpr uint16_t FormulaRecord = 0x0006;
constexpr int AddInFunction = 255;
QString Quoted(QString text) {
    text.replace(u'"', QStringLiteral("\"\""));
    return u'"' + text + u'"';
}

// Functions newer than the file format are called by a name with this prefix, which the
// formula bar hides.
QString WithoutFuturePrefix(const QString& name) {
    static const QString prefix = QStringLiteral("_xlfn.");
    return name.startsWith(prefix) ? name.mid(prefix.size()) : name;
}

QString Placeholder(uint8_t ptg) {
    return QStringLiteral("#TOKEN_%1?").arg(ptg, 2, 16, QLatin1Char('0')).toUpper();
}

std::u16string_view BinaryOperator(uint8_t ptg) {
    static constexpr std::u16string_view symbols[] = {u"+", u"-",  u"*",  u"/", u"^",
                                                      u"&", u"<",  u"<=", u"=", u">=",
                                                      u">", u"<>", u" ",  u",", u":"};
    return symbols[ptg - 0x03];
}

void Append(std::u16string& out, QStringView text) {
    out.append(text.utf16(), size_t(text.size()));
}

void Append(std::u16string& out, QLatin1StringView text) {
    for (const char c : text) {
        out.push_back(char16_t(uchar(c)));
    }
}

QString ToQString(const std::u16string& text) {
    return QString(reinterpret_cast<const QChar*>(text.data()), qsizetype(text.size()));
}

}  // namespace

FormulaDecompiler::FormulaDecompiler(const XlsLinkTable& links, Version version, CodePage& codePage)
    : links_(links),
      version_(version),
      codePage_(codePage),
      reference_(version == Version::Biff8) {}

QString FormulaDecompiler::ErrorText(uint8_t code) {
    switch (code) {
        case 0x00:
            return QStringLiteral("#NULL!");
        case 0x07:
            return QStringLiteral("#DIV/0!");
        case 0x0F:
            return QStringLiteral("#VALUE!");
        case 0x17:
            return QStringLiteral("#REF!");
        case 0x1D:
            return QStringLiteral("#NAME?");
        case 0x24:
            return QStringLiteral("#NUM!");
        case 0x2B:
            return QStringLiteral("#GETTING_DATA");
        default:
            return QStringLiteral("#N/A");
    }
}

std::u16string& FormulaDecompiler::Slot() {
    if (depth_ == stack_.size()) {
        stack_.emplace_back();
    }
    std::u16string& slot = stack_[depth_++];
    slot.clear();  // keeps the buffer
    return slot;
}

void FormulaDecompiler::Require(size_t count) const {
    if (depth_ < count) {
        throw ReadError(ReadErrorCode::FormulaMissingOperand);
    }
}

std::u16string& FormulaDecompiler::Top() {
    Require(1);
    return stack_[depth_ - 1];
}

QString FormulaDecompiler::Decompile(QByteArrayView tokens, QByteArrayView extra, int row,
                                     int column) {
    const bool biff8 = version_ == Version::Biff8;
    reference_.SetOrigin(row, column);
    BiffPayload in(tokens, FormulaRecord);
    BiffPayload more(extra, FormulaRecord);
    depth_ = 0;
    // Whitespace recorded for what comes next: before a token, before "(" and before ")".
    std::u16string before, beforeOpen, beforeClose, leading;

    // A new operand, starting with the whitespace recorded before it.
    auto push = [&]() -> std::u16string& {
        std::u16string& slot = Slot();
        slot += before;
        before.clear();
        return slot;
    };
    // Puts `prefix` and the whitespace before it in front of the top operand.
    auto prefixTop = [&](std::u16string_view prefix) -> std::u16string& {
        std::u16string& top = Top();
        top.insert(0, prefix);
        top.insert(0, before);
        before.clear();
        return top;
    };
    auto closeTop = [&](std::u16string& top) {
        top += beforeClose;
        top += u')';
        beforeClose.clear();
    };
    auto call = [&](const auto& name, int count, bool nameOnStack) {
        if (size_t(count) > depth_ || (nameOnStack && count == 0)) {
            throw ReadError(ReadErrorCode::FormulaArgumentCount,
                            {.expected = count, .found = int64_t(depth_)});
        }
        const size_t first = depth_ - size_t(count);
        const size_t firstArgument = first + (nameOnStack ? 1 : 0);
        scratch_.clear();
        scratch_ += before;
        before.clear();
        if (nameOnStack) {
            Append(scratch_, WithoutFuturePrefix(ToQString(stack_[first]).trimmed()));
        } else {
            Append(scratch_, name);
        }
        scratch_ += u'(';
        for (size_t i = firstArgument; i < depth_; ++i) {
            if (i > firstArgument) {
                scratch_ += u',';
            }
            scratch_ += stack_[i];
        }
        depth_ = first;
        std::u16string& slot = Slot();
        slot.swap(scratch_);
        closeTop(slot);
    };
    auto readString = [&](BiffPayload& from, bool longCount) {
        if (biff8) {
            return longCount ? from.UnicodeString16() : from.UnicodeString8();
        }
        return from.ByteString(longCount ? from.U16() : from.U8(), codePage_);
    };
    auto result = [&]() {
        std::u16string& top = Top();
        top.insert(0, leading);
        return ToQString(top);
    };

    while (in.Remaining() > 0) {
        const uint8_t ptg = in.U8();
        const uint8_t base = ptg < 0x20 ? ptg : uint8_t((ptg & 0x1F) | 0x20);
        if (ptg >= 0x80) {
            Append(push(), Placeholder(ptg));
            break;
        }
        switch (base) {
            case 0x03:
            case 0x04:
            case 0x05:
            case 0x06:
            case 0x07:
            case 0x08:
            case 0x09:
            case 0x0A:
            case 0x0B:
            case 0x0C:
            case 0x0D:
            case 0x0E:
            case 0x0F:
            case 0x10:
            case 0x11: {
                Require(2);
                std::u16string& left = stack_[depth_ - 2];
                left += before;
                left += BinaryOperator(base);
                left += stack_[depth_ - 1];
                before.clear();
                --depth_;
                break;
            }
            case 0x12:
                prefixTop(u"+");
                break;
            case 0x13:
                prefixTop(u"-");
                break;
            case 0x14: {
                std::u16string& operand = Top();
                operand += before;
                operand += u'%';
                before.clear();
                break;
            }
            case 0x15: {
                std::u16string& inner = Top();
                inner.insert(0, 1, u'(');
                inner.insert(0, beforeOpen);
                inner.insert(0, before);
                before.clear();
                beforeOpen.clear();
                closeTop(inner);
                break;
            }
            case 0x16:
                push();
                break;
            case 0x17:
                Append(push(), Quoted(readString(in, false)));
                break;
            case 0x19: {
                const uint8_t kind = in.U8();
                if (kind == 0x04) {  // CHOOSE jump table
                    in.Skip(qsizetype(in.U16() + 1) * 2);
                } else if (kind == 0x10) {
                    in.Skip(2);
                    closeTop(prefixTop(u"SUM("));
                } else if (kind == 0x40 || kind == 0x41) {
                    const uint8_t where = in.U8();
                    const uint8_t count = in.U8();
                    const std::u16string blanks(count, (where % 2) ? u'\n' : u' ');
                    (where <= 1   ? before
                     : where <= 3 ? beforeOpen
                     : where <= 5 ? beforeClose
                                  : leading) += blanks;
                } else {
                    in.Skip(2);  // volatile, IF and GOTO jumps: no text
                }
                break;
            }
            case 0x1C:
                Append(push(), ErrorText(in.U8()));
                break;
            case 0x1D:
                push() += in.U8() ? u"TRUE" : u"FALSE";
                break;
            case 0x1E:
                BiffReference::AppendDecimal(push(), in.U16());
                break;
            case 0x1F:
                Append(push(), GeneralNumber::Edit(in.F64()));
                break;
            case 0x20: {
                in.Skip(7);
                const int columns = more.U8() + 1;
                const int rows = more.U16() + 1;
                if (qsizetype(columns) * rows > more.Remaining()) {
                    throw ReadError(ReadErrorCode::FormulaArrayPastData);
                }
                QStringList lines;
                for (int r = 0; r < rows; ++r) {
                    QStringList values;
                    for (int c = 0; c < columns; ++c) {
                        const uint8_t type = more.U8();
                        if (type == 0x01) {
                            values.push_back(GeneralNumber::Edit(more.F64()));
                        } else if (type == 0x02) {
                            values.push_back(Quoted(readString(more, true)));
                        } else {
                            const uint8_t value = more.U8();
                            more.Skip(7);
                            values.push_back(type == 0x04   ? (value ? QStringLiteral("TRUE")
                                                                     : QStringLiteral("FALSE"))
                                             : type == 0x10 ? ErrorText(value)
                                                            : QString());
                        }
                    }
                    lines.push_back(values.join(u','));
                }
                Append(push(), u'{' + lines.join(u';') + u'}');
                break;
            }
            case 0x21: {
                const uint16_t index = in.U16();
                const auto function = FunctionTable::Find(index);
                if (!function || function->arguments < 0) {
                    Append(push(), Placeholder(ptg));
                    return result();
                }
                call(function->name, function->arguments, false);
                break;
            }
            case 0x22: {
                const int count = in.U8() & 0x7F;
                const uint16_t index = in.U16();
                const auto function = FunctionTable::Find(index & 0x7FFF);
                if (index == AddInFunction) {
                    call(QString(), count, true);
                } else if (function && !(index & 0x8000)) {
                    call(function->name, count, false);
                } else {
                    call(QStringLiteral("#FUNCTION_%1?").arg(index), count, false);
                }
                break;
            }
            case 0x23:
                if (biff8) {
                    Append(push(), links_.DefinedName(in.U32()));
                } else {
                    Append(push(), links_.DefinedName(in.U16()));
                    in.Skip(12);
                }
                break;
            case 0x24:
                reference_.AppendCell(push(), in, false);
                break;
            case 0x25:
                reference_.AppendArea(push(), in, false);
                break;
            case 0x26: {  // the area list of a precomputed reference lives in the extra data
                in.Skip(6);
                more.Skip(qsizetype(more.U16()) * (biff8 ? 8 : 6));
                break;
            }
            case 0x27:
            case 0x28:
                in.Skip(6);
                break;
            case 0x29:
                in.Skip(2);
                break;
            case 0x2A:
                in.Skip(biff8 ? 4 : 3);
                push() += u"#REF!";
                break;
            case 0x2B:
                in.Skip(biff8 ? 8 : 6);
                push() += u"#REF!";
                break;
            case 0x2C:
                reference_.AppendCell(push(), in, true);
                break;
            case 0x2D:
                reference_.AppendArea(push(), in, true);
                break;
            case 0x39:
                if (biff8) {
                    const uint16_t xti = in.U16();
                    Append(push(), links_.ExternName(xti, in.U32()));
                } else {
                    in.Skip(10);
                    Append(push(), links_.Biff5ExternName(in.U16()));
                    in.Skip(12);
                }
                break;
            case 0x3A:
            case 0x3B:
            case 0x3C:
            case 0x3D: {
                QString prefix;
                if (biff8) {
                    prefix = links_.SheetPrefix(in.U16());
                } else {
                    const int16_t book = in.S16();
                    in.Skip(8);
                    const int16_t first = in.S16();
                    prefix = links_.Biff5SheetPrefix(book, first, in.S16());
                }
                std::u16string& slot = push();
                Append(slot, prefix);
                if (base == 0x3A) {
                    reference_.AppendCell(slot, in, false);
                } else if (base == 0x3B) {
                    reference_.AppendArea(slot, in, false);
                } else {
                    in.Skip(base == 0x3C ? (biff8 ? 4 : 3) : (biff8 ? 8 : 6));
                    slot += u"#REF!";
                }
                break;
            }
            default:  // PtgExp and PtgTbl inside a formula, extended tokens, unassigned ids
                Append(push(), Placeholder(ptg));
                return result();
        }
    }
    if (depth_ != 1) {
        throw ReadError(ReadErrorCode::FormulaValuesLeft, {.found = int64_t(depth_)});
    }
    return result();
}

}  // namespace engine
