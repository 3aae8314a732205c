#include "engine/calc/FormulaValue.h"

#include "engine/format/DateSerial.h"
#include "engine/format/GeneralNumber.h"
#include "engine/model/Cell.h"

#include <QRegularExpression>
#include <cmath>

namespace engine {
namespace {

// A date typed as text: y/m/d or y-m-d, as a number reads it in arithmetic.
std::optional<double> DateNumber(QStringView text, bool date1904) {
    static const QRegularExpression date(QStringLiteral("^(\\d{4})[/-](\\d{1,2})[/-](\\d{1,2})$"));
    const auto match = date.match(text.toString());
    if (!match.hasMatch()) {
        return std::nullopt;
    }
    const int year = match.capturedView(1).toInt();
    const int month = match.capturedView(2).toInt();
    const int day = match.capturedView(3).toInt();
    if (year < 1900 || month < 1 || month > 12 || day < 1 || day > 31) {
        return std::nullopt;
    }
    return double(DateSerial::FromDate(year, month, day, date1904));
}

}  // namespace

FormulaValue FormulaValue::Of(double number) {
    if (!std::isfinite(number)) {
        return OfError("#NUM!");
    }
    return {Number, number, {}};
}

FormulaValue FormulaValue::OfText(QString text) {
    if (text.size() > MaxTextLength) {
        return OfError("#VALUE!");  // longer than a cell holds, as the application says
    }
    return {Text, 0, std::move(text)};
}

QString FormulaValue::AsText() const {
    switch (kind) {
        case Number:
            return GeneralNumber::Edit(number);
        case Boolean:
            return number != 0 ? QStringLiteral("TRUE") : QStringLiteral("FALSE");
        case Text:
        case Error:
            return text;
        case Empty:
            break;
    }
    return {};
}

std::optional<double> FormulaValue::AsNumber(bool date1904) const {
    if (kind != Text) {
        return number;
    }
    QString trimmed = text.trimmed();
    double scale = 1;
    if (trimmed.endsWith(u'%')) {
        trimmed.chop(1);
        scale = 0.01;
    }
    if (trimmed.contains(u',')) {
        static const QRegularExpression grouped(
            QStringLiteral("^[+-]?\\d{1,3}(,\\d{3})+(\\.\\d*)?$"));
        if (!grouped.match(trimmed).hasMatch()) {
            return std::nullopt;
        }
        trimmed.remove(u',');
    }
    bool ok = false;
    const double n = trimmed.toDouble(&ok);
    if (ok && std::isfinite(n)) {
        return n * scale;
    }
    return scale == 1 ? DateNumber(trimmed, date1904) : std::nullopt;
}

std::optional<bool> FormulaValue::AsBoolean() const {
    if (kind != Text) {
        return number != 0;
    }
    if (text.compare(u"TRUE", Qt::CaseInsensitive) == 0) {
        return true;
    }
    if (text.compare(u"FALSE", Qt::CaseInsensitive) == 0) {
        return false;
    }
    return std::nullopt;
}

int FormulaValue::Order(const FormulaValue& a, const FormulaValue& b) {
    const auto rank = [](const FormulaValue& v) {
        switch (v.kind) {
            case Text:
                return 1;
            case Boolean:
                return 2;
            case Error:
                return 3;
            case Empty:
            case Number:
                break;
        }
        return 0;
    };
    if (const int order = rank(a) - rank(b); order != 0) {
        return order;
    }
    if (a.kind == Text || a.kind == Error) {
        return a.text.compare(b.text, Qt::CaseInsensitive);
    }
    return a.number < b.number ? -1 : a.number > b.number ? 1 : 0;
}

}  // namespace engine
