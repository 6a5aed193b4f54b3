#include "CVMsgDetailsFrm.h"

#include "CVApp.h"
#include "PreferredFont.h"

#include <QApplication>
#include <QIcon>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QTimer>

#include <stdexcept>

namespace {
DetailsDialogObserver &Observer()
{
    static DetailsDialogObserver observer;
    return observer;
}

QLabel *Picture(QWidget *parent, const char *name, const QString &resource)
{
    auto *picture = new QLabel(parent);
    picture->setObjectName(QLatin1String(name));
    picture->setGeometry(8, 8, 32, 32);
    picture->setPixmap(QIcon(resource).pixmap(32, 32));
    return picture;
}

QPushButton *Button(QWidget *parent, const char *name, int top)
{
    auto *button = new QPushButton(parent);
    button->setObjectName(QLatin1String(name));
    button->setGeometry(326, top, 75, 25);
    return button;
}

struct Captions
{
    QString ok, collapsed, expanded;
};

Captions CaptionsFor(TCVLanguage language)
{
    switch (language) {
    case TCVLanguage::Portuguese:
        return {QStringLiteral("&OK"), QStringLiteral("&Detalhes >>"), QStringLiteral("&Detalhes <<")};
    case TCVLanguage::English:
        return {QStringLiteral("&OK"), QStringLiteral("&Details >>"), QStringLiteral("&Details <<")};
    }
    throw std::invalid_argument("Invalid language id. in call to CVMessageDetails.");
}
} // namespace

QString NormaliseLineBreaks(const QString &text)
{
    QString result;
    result.reserve(text.size() + text.count(QLatin1Char('\n')));
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c != QLatin1Char('\r') && c != QLatin1Char('\n')) {
            result += c;
            continue;
        }
        if (c == QLatin1Char('\r') && i + 1 < text.size() && text[i + 1] == QLatin1Char('\n')) ++i;
        if (i + 1 < text.size()) result += QStringLiteral("\r\n");
    }
    return result;
}

TCVMessageDetails::TCVMessageDetails(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                          Qt::WindowSystemMenuHint),
      imgCritical(Picture(this, "imgCritical", QStringLiteral(":/dialog/critical.svg"))),
      imgWarning(Picture(this, "imgWarning", QStringLiteral(":/dialog/warning.svg"))),
      imgInformation(Picture(this, "imgInformation", QStringLiteral(":/dialog/information.svg"))),
      lblErrorMsg(new QLabel(this)), cmdOK(Button(this, "cmdOK", 8)), cmdDetails(Button(this, "cmdDetails", 40)),
      txtErrorDetails(new QPlainTextEdit(this))
{
    setObjectName(QStringLiteral("CVMessageDetails"));
    setFont(PreferredFont(QStringLiteral("Tahoma"), 8));
    lblErrorMsg->setObjectName(QStringLiteral("lblErrorMsg"));
    lblErrorMsg->setGeometry(48, 8, 257, 65);
    lblErrorMsg->setWordWrap(true);
    lblErrorMsg->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    lblErrorMsg->setTextFormat(Qt::PlainText);
    txtErrorDetails->setObjectName(QStringLiteral("txtErrorDetails"));
    txtErrorDetails->setGeometry(8, 80, 393, 100);
    txtErrorDetails->setReadOnly(true);
    txtErrorDetails->setAccessibleName(QStringLiteral("Details"));
    cmdOK->setDefault(true);
    setTabOrder(cmdOK, cmdDetails);
    setTabOrder(cmdDetails, txtErrorDetails);
    connect(cmdOK, &QPushButton::clicked, this, &QDialog::accept);
    connect(cmdDetails, &QPushButton::clicked, this, &TCVMessageDetails::cmdDetailsClick);
    setFixedSize(ClientWidth, CollapsedHeight);
}

void TCVMessageDetails::SetupDetails(const QString &message, const QString &details, const QString &caption,
                                     TCVMessageKind kind, TCVLanguage language, const QString &fontName,
                                     bool expandAtOnce)
{
    imgCritical->hide();
    imgWarning->hide();
    imgInformation->hide();
    if (!fontName.isEmpty()) setFont(PreferredFont(fontName, 8));
    const Captions captions = CaptionsFor(language);
    collapsedCaption = captions.collapsed;
    expandedCaption = captions.expanded;
    setFixedSize(ClientWidth, CollapsedHeight);
    setWindowTitle(caption.isEmpty() ? ApplicationTitle() : caption);
    lblErrorMsg->setText(NormaliseLineBreaks(message));
    txtErrorDetails->setPlainText(NormaliseLineBreaks(details));
    switch (kind) {
    case TCVMessageKind::Error:
        imgCritical->show();
        break;
    case TCVMessageKind::Warning:
        imgWarning->show();
        break;
    case TCVMessageKind::Information:
        imgInformation->show();
        break;
    default:
        throw std::invalid_argument("Invalid message type in call to CVMessageDetails.");
    }
    cmdOK->setText(captions.ok);
    cmdDetails->setText(collapsedCaption);
    cmdDetails->setVisible(!details.isEmpty());
    if (expandAtOnce && !details.isEmpty()) cmdDetailsClick();
    QApplication::beep();
}

bool TCVMessageDetails::isExpanded() const
{
    return height() == ExpandedHeight;
}

void TCVMessageDetails::cmdDetailsClick()
{
    const bool expand = !isExpanded();
    cmdDetails->setText(expand ? expandedCaption : collapsedCaption);
    setFixedSize(ClientWidth, expand ? ExpandedHeight : CollapsedHeight);
}

void ShowDetailsDialog(const QString &message, const QString &details, const QString &caption, TCVMessageKind kind,
                       TCVLanguage language, const QString &fontName, bool expandAtOnce)
{
    TCVMessageDetails dialog;
    dialog.SetupDetails(message, details, caption, kind, language, fontName, expandAtOnce);
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        dialog.move(screen->availableGeometry().center() - dialog.rect().center());
    if (Observer()) QTimer::singleShot(0, &dialog, [&dialog] { Observer()(&dialog); });
    dialog.exec();
}

DetailsDialogObserver SetDetailsDialogObserver(DetailsDialogObserver observer)
{
    return std::exchange(Observer(), std::move(observer));
}
