#include "dialogs/Tformconfiggeneral.h"

#include <QCheckBox>
#include <QCommandLinkButton>
#include <QKeyEvent>
#include <QPushButton>
#include <QStyle>
#include <QTabWidget>
#include <QVBoxLayout>

#include "dialogs/HelpViewer.h"
#include "storage/Tconfig.h"

namespace {

constexpr int kHelpTopic = 6;
constexpr int kIconIndex = 0;
const QString kExtension = QStringLiteral(".SVZ");
const QString kFileTypeDescription = QStringLiteral("Sorvane ファイル");

QWidget* AddPage(QTabWidget* pages, const char* name, const QString& caption) {
    auto* page = new QWidget(pages);
    page->setObjectName(QLatin1String(name));
    auto* layout = new QVBoxLayout(page);
    layout->setAlignment(Qt::AlignTop);
    pages->addTab(page, caption);
    return page;
}

template <typename Control>
Control* AddControl(QWidget* page, const char* name, const QString& text) {
    auto* control = new Control(text, page);
    control->setObjectName(QLatin1String(name));
    page->layout()->addWidget(control);
    return control;
}

QPushButton* AddButton(QWidget* parent, const char* name, QStyle::StandardPixmap glyph,
                       const QString& text, const QRect& place) {
    auto* button = new QPushButton(parent->style()->standardIcon(glyph), text, parent);
    button->setObjectName(QLatin1String(name));
    button->setGeometry(place);
    return button;
}

}  // namespace

TFormConfigGeneral::TFormConfigGeneral(QWidget* owner) : QDialog(owner) {
    setObjectName(QStringLiteral("FormConfigGeneral"));
    setWindowTitle(QStringLiteral("全般設定"));
    setWindowFlags(windowFlags() | Qt::MSWindowsFixedSizeDialogHint);
    setFixedSize(336, 208);
    setFont(QFont(QStringLiteral("Tahoma"), 8));

    PageControl1 = new QTabWidget(this);
    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    PageControl1->setGeometry(4, 4, 328, 148);

    QWidget* startup = AddPage(PageControl1, "TabSheet1", QStringLiteral("起動時(&1)"));
    CheckBoxProjectFileRestore =
        AddControl<QCheckBox>(startup, "CheckBoxProjectFileRestore",
                              QStringLiteral("前回の終了時に開いていたファイルを、起動時に開く"));
    CheckBoxWindowPositionRestore =
        AddControl<QCheckBox>(startup, "CheckBoxWindowPositionRestore",
                              QStringLiteral("前回の終了時のウィンドウサイズを、起動時に復元する"));

    QWidget* association = AddPage(PageControl1, "TabSheet2", QStringLiteral("関連づけ(&2)"));
    ButtonLinkSet = AddControl<QCommandLinkButton>(
        association, "ButtonLinkSet", QStringLiteral("拡張子「.SVZ」の関連づけを設定する"));
    ButtonLinkUnSet = AddControl<QCommandLinkButton>(
        association, "ButtonLinkUnSet", QStringLiteral("拡張子「.SVZ」の関連づけを削除する"));
    for (QCommandLinkButton* link : {ButtonLinkSet, ButtonLinkUnSet}) {
        link->setFixedSize(302, 41);
        // The association buttons act at once and must never close the dialog.
        link->setAutoDefault(false);
    }
    connect(ButtonLinkSet, &QCommandLinkButton::clicked, this,
            &TFormConfigGeneral::ButtonLinkSetClick);
    connect(ButtonLinkUnSet, &QCommandLinkButton::clicked, this,
            &TFormConfigGeneral::ButtonLinkUnSetClick);

    QWidget* other = AddPage(PageControl1, "TabSheet3", QStringLiteral("その他(&3)"));
    CheckBoxInTaskTray = AddControl<QCheckBox>(
        other, "CheckBoxInTaskTray", QStringLiteral("最小化したとき、タスクトレイに入れる"));
    CheckBoxSkipUnreadableBooks =
        AddControl<QCheckBox>(other, "CheckBoxSkipUnreadableBooks",
                              QStringLiteral("開けないブックを飛ばして検索を続ける"));
    CheckBoxSearchHiddenCells = AddControl<QCheckBox>(other, "CheckBoxSearchHiddenCells",
                                                      QStringLiteral("非表示のセルも検索する"));
    CheckBoxUseSearchIndex = AddControl<QCheckBox>(other, "CheckBoxUseSearchIndex",
                                                   QStringLiteral("検索インデックスを使う"));

    auto* panel = new QWidget(this);
    panel->setObjectName(QStringLiteral("Panel1"));
    panel->setGeometry(0, 152, 336, 56);
    BitBtn3 = AddButton(panel, "BitBtn3", QStyle::SP_DialogHelpButton, QStringLiteral("ヘルプ(&H)"),
                        QRect(8, 16, 90, 27));
    BitBtn1 = AddButton(panel, "BitBtn1", QStyle::SP_DialogOkButton, QStringLiteral("OK"),
                        QRect(142, 16, 90, 27));
    BitBtn2 = AddButton(panel, "BitBtn2", QStyle::SP_DialogCancelButton,
                        QStringLiteral("キャンセル"), QRect(238, 16, 90, 27));
    BitBtn3->setAutoDefault(false);
    BitBtn1->setDefault(true);
    setTabOrder(BitBtn3, BitBtn1);
    setTabOrder(BitBtn1, BitBtn2);
    connect(BitBtn3, &QPushButton::clicked, this, [this] { ShowHelpTopic(kHelpTopic, this); });
    connect(BitBtn1, &QPushButton::clicked, this, &QDialog::accept);
    connect(BitBtn2, &QPushButton::clicked, this, &QDialog::reject);

    PageControl1->setCurrentIndex(0);
}

void TFormConfigGeneral::LoadConfig(const TConfig& config) {
    CheckBoxProjectFileRestore->setChecked(config.ProjectFileRestore);
    CheckBoxWindowPositionRestore->setChecked(config.WindowPositionRestore);
    CheckBoxInTaskTray->setChecked(config.InTaskTray);
    CheckBoxSkipUnreadableBooks->setChecked(config.SkipUnreadableBooks);
    CheckBoxSearchHiddenCells->setChecked(config.SearchHiddenCells);
    CheckBoxUseSearchIndex->setChecked(config.UseSearchIndex);
}

void TFormConfigGeneral::StoreConfig(TConfig& config) const {
    config.ProjectFileRestore = CheckBoxProjectFileRestore->isChecked();
    config.WindowPositionRestore = CheckBoxWindowPositionRestore->isChecked();
    config.InTaskTray = CheckBoxInTaskTray->isChecked();
    config.SkipUnreadableBooks = CheckBoxSkipUnreadableBooks->isChecked();
    config.SearchHiddenCells = CheckBoxSearchHiddenCells->isChecked();
    config.UseSearchIndex = CheckBoxUseSearchIndex->isChecked();
}

void TFormConfigGeneral::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_F1) {
        ShowHelpTopic(kHelpTopic, this);
        return;
    }
    QDialog::keyPressEvent(event);
}

void TFormConfigGeneral::ButtonLinkSetClick() {
    relay_.RegisterExtension(kExtension, kFileTypeDescription, kIconIndex);
}

void TFormConfigGeneral::ButtonLinkUnSetClick() {
    relay_.UnregisterExtension(kExtension);
}
