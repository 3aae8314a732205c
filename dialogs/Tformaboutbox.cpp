#include "dialogs/Tformaboutbox.h"

#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>

#include "dialogs/Tkappinfo.h"

namespace {

constexpr int kIndexComments = 0;
constexpr int kIndexFileVersion = 3;
constexpr int kIndexLegalCopyright = 5;

QLabel* MakeLabel(QWidget* parent, const char* name, const QString& text, const QRect& place) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(QLatin1String(name));
    label->setGeometry(place);
    return label;
}

}  // namespace

TFormAboutBox::TFormAboutBox(QWidget* owner) : TFormAboutBox(owner, QString()) {}

TFormAboutBox::TFormAboutBox(QWidget* owner, const QString& executablePath) : QDialog(owner) {
    // Read first: without a version block the box is never built.
    const TkAppInfo info = executablePath.isEmpty() ? TkAppInfo() : TkAppInfo(executablePath);

    setObjectName(QStringLiteral("FormAboutBox"));
    setWindowTitle(QStringLiteral("バージョン情報"));
    setWindowFlags(windowFlags() | Qt::MSWindowsFixedSizeDialogHint);
    setFixedSize(273, 195);
    QFont face;
    face.setFamilies({QStringLiteral("ＭＳ Ｐゴシック"), QStringLiteral("Noto Sans CJK JP")});
    face.setPointSize(9);
    setFont(face);

    auto* panel = new QFrame(this);
    panel->setObjectName(QStringLiteral("Panel1"));
    panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    panel->setLineWidth(2);
    panel->setGeometry(7, 7, 258, 148);

    ProgramIcon = MakeLabel(panel, "ProgramIcon", QString(), QRect(7, 7, 48, 48));
    ProgramIcon->setScaledContents(true);
    // The owner's icon, or the application's, which is the program's icon.
    ProgramIcon->setPixmap(windowIcon().pixmap(48, 48));
    ProductName = MakeLabel(panel, "ProductName", QStringLiteral("製品名"), QRect(65, 15, 185, 16));
    Version = MakeLabel(panel, "Version", QStringLiteral("バージョン"), QRect(65, 33, 185, 16));
    Copyright = MakeLabel(panel, "Copyright", QStringLiteral("著作権"), QRect(65, 51, 185, 16));
    Comments = MakeLabel(panel, "Comments", QStringLiteral("コメント"), QRect(7, 95, 242, 42));
    Comments->setWordWrap(true);
    Comments->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("OKButton"));
    ok->setGeometry(102, 165, 69, 23);
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);

    Fill(info);
    if (const QScreen* shown = screen()) {
        move(shown->availableGeometry().center() - rect().center());
    }
}

void TFormAboutBox::Fill(const TkAppInfo& info) {
    ProductName->setText(QGuiApplication::applicationDisplayName());
    Version->setText(QStringLiteral("バージョン ") + info.GetVersionString(kIndexFileVersion));
    Copyright->setText(QStringLiteral("(C) ") + info.GetVersionString(kIndexLegalCopyright));
    Comments->setText(info.GetVersionString(kIndexComments));
}
