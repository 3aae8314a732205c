#include "dialogs/Tformconfigresultitem.h"

#include <QKeyEvent>
#include <QListWidget>
#include <QPushButton>
#include <QStyle>
#include <algorithm>

#include "dialogs/HelpViewer.h"

namespace {

constexpr int kHelpTopic = 7;

// Column 1 is "シート" in the list, but named in full here.
const char* const kColumnNames[] = {"ブック名", "シート番号", "シート名",   "列",
                                    "行",       "セルの値",   "セルの数式", "セルのコメント"};

}  // namespace

TFormConfigResultItem::TFormConfigResultItem(QWidget* owner) : QDialog(owner) {
    setObjectName(QStringLiteral("FormConfigResultItem"));
    setWindowTitle(QStringLiteral("表示項目設定"));
    setWindowFlags(windowFlags() | Qt::MSWindowsFixedSizeDialogHint);
    setFont(QFont(QStringLiteral("Tahoma"), 8));

    CheckListBox1 = new QListWidget(this);
    CheckListBox1->setObjectName(QStringLiteral("CheckListBox1"));
    CheckListBox1->setGeometry(8, 8, 191, 129);
    for (const char* name : kColumnNames) {
        auto* item = new QListWidgetItem(QString::fromUtf8(name), CheckListBox1);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
        item->setCheckState(Qt::Unchecked);
    }

    // The list is 129 pixels high as designed, taller where the font needs it to show all eight
    // items without scrolling; the buttons and the dialog follow it.
    const int listHeight = std::max(129, CheckListBox1->sizeHintForRow(0) * CheckListBox1->count() +
                                             2 * CheckListBox1->frameWidth());
    CheckListBox1->setFixedHeight(listHeight);
    const int buttonTop = 8 + listHeight + 13;
    setFixedSize(207, buttonTop + 39);

    BitBtn1 = new QPushButton(style()->standardIcon(QStyle::SP_DialogOkButton),
                              QStringLiteral("OK"), this);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    BitBtn1->setGeometry(8, buttonTop, 90, 27);
    BitBtn1->setDefault(true);
    connect(BitBtn1, &QPushButton::clicked, this, &QDialog::accept);

    BitBtn2 = new QPushButton(style()->standardIcon(QStyle::SP_DialogCancelButton),
                              QStringLiteral("キャンセル"), this);
    BitBtn2->setObjectName(QStringLiteral("BitBtn2"));
    BitBtn2->setGeometry(109, buttonTop, 90, 27);
    connect(BitBtn2, &QPushButton::clicked, this, &QDialog::reject);
}

void TFormConfigResultItem::SetChoice(const std::set<int>& choice) {
    for (int i = 0; i < CheckListBox1->count(); ++i) {
        CheckListBox1->item(i)->setCheckState(choice.contains(i) ? Qt::Checked : Qt::Unchecked);
    }
}

std::set<int> TFormConfigResultItem::Choice() const {
    std::set<int> choice;
    for (int i = 0; i < CheckListBox1->count(); ++i) {
        if (CheckListBox1->item(i)->checkState() == Qt::Checked) {
            choice.insert(i);
        }
    }
    return choice;
}

void TFormConfigResultItem::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_F1) {
        ShowHelpTopic(kHelpTopic, this);
        return;
    }
    QDialog::keyPressEvent(event);
}
