#include "cli/ConsoleHost.h"

#include "cli/RowPrinter.h"

ConsoleHost::ConsoleHost(SearchConditions conditions, RowPrinter& printer, FILE* err,
                         bool showProgress)
    : conditions_(std::move(conditions)),
      printer_(printer),
      err_(err),
      showProgress_(showProgress) {}

void ConsoleHost::SetStatusText(const QString& text) {
    status_ = text;
    DrawProgress();
}

void ConsoleHost::SetProgressMaximum(int maximum) {
    maximum_ = maximum;
}

void ConsoleHost::SetProgressPosition(int position) {
    position_ = position;
    DrawProgress();
}

void ConsoleHost::AppendRow(const ResultRow& row) {
    ClearProgress();  // stdout and stderr usually share the terminal
    printer_.Print(row);
    ++hits_;
    DrawProgress();
}

void ConsoleHost::ShowWarning(const QString& text) {
    ClearProgress();
    warned_ = true;
    Write(text + QLatin1Char('\n'));
}

void ConsoleHost::SetSearching(bool searching) {
    if (!searching) {
        ClearProgress();
        showProgress_ = false;
    }
}

int ConsoleHost::ExitStatus() const {
    if (warned_) {
        return 2;
    }
    return hits_ > 0 ? 0 : 1;
}

void ConsoleHost::DrawProgress() {
    if (!showProgress_) {
        return;
    }
    QString line = QStringLiteral("\r\x1b[K");
    if (maximum_ >= 0) {
        line += QStringLiteral("%1/%2 ").arg(position_).arg(maximum_);
    }
    Write(line + status_);
    progressShown_ = true;
}

void ConsoleHost::ClearProgress() {
    if (progressShown_) {
        Write(QStringLiteral("\r\x1b[K"));
        progressShown_ = false;
    }
}

void ConsoleHost::Write(const QString& text) {
    const QByteArray bytes = text.toUtf8();
    std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), err_);
    std::fflush(err_);
}
