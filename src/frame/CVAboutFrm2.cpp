#include "CVAboutFrm2.h"

#include "CVApp.h"
#include "CVDialogKeys.h"
#include "CVHelp.h"
#include "CVMsgDetailsFrm.h"
#include "CVSysInfo.h"
#include "DialogPlacement.h"
#include "PreferredFont.h"
#include "QtColour.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>

namespace {
QFrame *Panel(QWidget *parent, const char *name, const QRect &geometry, const QColor &fill)
{
    auto *panel = new QFrame(parent);
    panel->setObjectName(QLatin1String(name));
    panel->setGeometry(geometry);
    panel->setAutoFillBackground(true);
    QPalette palette = panel->palette();
    palette.setColor(QPalette::Window, fill);
    panel->setPalette(palette);
    return panel;
}

QLabel *Label(QWidget *parent, const char *name, const QRect &geometry)
{
    auto *label = new QLabel(parent);
    label->setObjectName(QLatin1String(name));
    label->setGeometry(geometry);
    label->setAttribute(Qt::WA_TranslucentBackground);
    return label;
}
} // namespace

TAboutForm::TAboutForm(QWidget *owner, const TCVApplication &application)
    : QDialog(owner, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint), m_application(application)
{
    setObjectName(QStringLiteral("AboutForm"));
    setProperty("HelpContext", 0);
    // Blocks the editor window only, so that the help opened from here can be read and scrolled.
    setWindowModality(Qt::WindowModal);
    setFixedSize(425, 382);
    setWindowTitle(QStringLiteral("About %1...").arg(application.LongName));
    setFont(PreferredFont(application.FontName, 8));
    CreateAccentStrip(toQColor(application.AccentColour));
    CreateTexts();
    CreateButtons();
    InstallDialogKeys(this, application);
    CentreOverOwner(*this);
    cmdOK->setFocus();
}

void TAboutForm::CreateAccentStrip(const QColor &accent)
{
    // The outline of the picture behind the strip is all that shows of it.
    Panel(this, "imgAbout", {12, 12, 65, 249}, palette().color(QPalette::Mid));
    pLeft = Panel(this, "pLeft", {13, 13, 63, 247}, accent);
    QFrame *pIcon01 = Panel(pLeft, "pIcon01", {6, 8, 50, 47}, Qt::white);
    pIcon02 = Panel(pIcon01, "pIcon02", {1, 1, 48, 45}, accent);
    QFrame *pIcon03 = Panel(pIcon02, "pIcon03", {3, 3, 42, 39}, Qt::white);
    imgApplicationIcon = Label(pIcon03, "imgApplicationIcon", {5, 3, 32, 32});
    imgApplicationIcon->setPixmap(m_application.AppIcon.pixmap(32, 32));
}

void TAboutForm::CreateTexts()
{
    const TCVApplication &app = m_application;
    constexpr int left = 92;
    lblApplicationName = Label(this, "lblApplicationName", {left, 14, 230, 20});
    lblApplicationName->setText(app.LongName == app.FamilyName ? app.SuiteName : app.LongName);
    QFont nameFont = PreferredFont(app.FontName, 10);
    nameFont.setBold(true);
    lblApplicationName->setFont(nameFont);

    lblSpecialVersion = Label(this, "lblSpecialVersion", {425 - 12 - 89, 14, 89, 16});
    lblSpecialVersion->setAlignment(Qt::AlignRight | Qt::AlignTop);
    QFont specialFont = PreferredFont(app.FontName, 8);
    specialFont.setPixelSize(13);
    specialFont.setBold(true);
    lblSpecialVersion->setFont(specialFont);
    lblSpecialVersion->setStyleSheet(QStringLiteral("color: maroon"));
    lblSpecialVersion->setText(app.SpecialVersion);

    lblApplicationVersion = Label(this, "lblApplicationVersion", {left, 40, 320, 16});
    lblApplicationVersion->setText(QStringLiteral("%1 %2").arg(QStringLiteral("Version"), app.VersionText));
    lblCopyright = Label(this, "lblCopyright", {left, 60, 320, 16});
    lblCopyright->setText(app.Copyright);

    lblOtherCopyrights = Label(this, "lblOtherCopyrights", {left, 204, 305, 49});
    lblOtherCopyrights->setWordWrap(true);
    lblOtherCopyrights->setAlignment(Qt::AlignLeft | Qt::AlignBottom);
    QFont smallFont = PreferredFont(app.FontName, 8);
    smallFont.setPixelSize(9);
    lblOtherCopyrights->setFont(smallFont);
    // The texts separate their lines the Windows way; a label breaks a line at a line feed alone.
    lblOtherCopyrights->setText(
        NormaliseLineBreaks(app.OtherCopyrights).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
}

void TAboutForm::CreateButtons()
{
    auto *bLine = new QFrame(this);
    bLine->setObjectName(QStringLiteral("bLine"));
    bLine->setFrameShape(QFrame::HLine);
    bLine->setFrameShadow(QFrame::Sunken);
    bLine->setGeometry(16, 272, 393, 2);

    const auto button = [this](const char *name, const QString &caption, int top) {
        auto *push = new QPushButton(caption, this);
        push->setObjectName(QLatin1String(name));
        push->setGeometry(425 - 16 - 105, top, 105, 25);
        return push;
    };
    cmdOK = button("cmdOK", QStringLiteral("&OK"), 284);
    cmdSysInfo = button("cmdSysInfo", QStringLiteral("&System Info..."), 315);
    cmdSupport = button("cmdSupport", QStringLiteral("&Tech. Support..."), 346);
    cmdOK->setDefault(true);
    connect(cmdOK, &QPushButton::clicked, this, &QDialog::accept);
    connect(cmdSysInfo, &QPushButton::clicked, this, &RunSystemInfo);
    connect(cmdSupport, &QPushButton::clicked, this, [this] { ShowHelp(m_application, 60000); });
}

void TCVApplication::ShowAbout(const QString &fontName)
{
    QWidget *owner = QApplication::activeWindow();
    TAboutForm about(owner, *this);
    about.setFont(PreferredFont(fontName, 8));
    about.exec();
}
