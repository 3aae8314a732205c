#include "app/SkippedBooksDialog.h"

#include <QApplication>
#include <QClipboard>
#include <QDialogButtonBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStringList>
#include <QVBoxLayout>

SkippedBooksDialog::SkippedBooksDialog(QWidget* parent, const SkippedItems& skipped)
    : QDialog(parent) {
    setObjectName(QStringLiteral("SkippedBooksDialog"));
    setWindowTitle(QStringLiteral("検索できなかったブック"));
    auto* layout = new QVBoxLayout(this);

    auto* summary =
        new QLabel(QStringLiteral("次の %1 件は検索できませんでした。").arg(skipped.size()), this);
    summary->setObjectName(QStringLiteral("LabelSummary"));
    layout->addWidget(summary);

    QStringList lines;
    for (const SkippedItem& item : skipped) {
        lines.append(item.message);
    }
    list_ = new QPlainTextEdit(lines.join(QLatin1Char('\n')), this);
    list_->setObjectName(QStringLiteral("ListSkipped"));
    list_->setReadOnly(true);
    list_->setLineWrapMode(
        QPlainTextEdit::WidgetWidth);  // long paths wrap; a copy keeps a line each
    layout->addWidget(list_);

    auto* hint = new QLabel(QStringLiteral("開けないブックで検索を終えるか、飛ばして続けるかは、"
                                           "[設定]-[全般設定] の「その他」で選べます。"),
                            this);
    hint->setObjectName(QStringLiteral("LabelHint"));
    hint->setWordWrap(true);
    layout->addWidget(hint);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    QPushButton* copy =
        buttons->addButton(QStringLiteral("コピー(&C)"), QDialogButtonBox::ActionRole);
    copy->setObjectName(QStringLiteral("ButtonCopy"));
    copy->setAutoDefault(false);
    buttons->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("ButtonOk"));
    connect(copy, &QPushButton::clicked, this,
            [this] { QApplication::clipboard()->setText(list_->toPlainText()); });
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    layout->addWidget(buttons);
    resize(640, 360);
}

void SkippedBooksDialog::Show(QWidget* parent, const SkippedItems& skipped) {
    SkippedBooksDialog dialog(parent, skipped);
    dialog.exec();
}
