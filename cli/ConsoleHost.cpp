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
    // A finished book's rows go out before the next book is read.
    printer_.Flush();
    position_ = position;
    DrawProgress();
}

void ConsoleHost::AppendRow(const ResultRow& row) {
    ClearProgress();  // stdout and stderr usually share the terminal
    printer_.Print(row);
    if (showProgress_) {
        printer_.Flush();  // the row must be out before the progress line is drawn again
    }
    ++hits_;
    DrawProgress();
}

void ConsoleHost::ShowWarning(const QString& text) {
    ClearProgress();
    printer_.Flush();  // the rows found before the problem come first
    warned_ = true;
    Write(RowPrinter::Printable(text) + QLatin1Char('\n'));
}

void ConsoleHost::ShowSkipped(const SkippedItems& skipped) {
    for (const SkippedItem& item : skipped) {
        ShowWarning(item.message);
    }
}

void ConsoleHost::SetSearching(bool searching) {
    if (!searching) {
        printer_.Flush();
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
    Write(line + RowPrinter::Printable(status_));
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
