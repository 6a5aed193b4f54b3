#include "CVSplashFrm2.h"

#include "CVApp.h"
#include "PreferredFont.h"
#include "SessionType.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QPixmap>
#include <QPointer>
#include <QScreen>
#include <QWindow>

using namespace colour;

namespace {
QPointer<TSplashForm> &Shown()
{
    static QPointer<TSplashForm> form;
    return form;
}

QLabel *Label(QWidget *parent, const char *name, QRect geometry, int pixelSize, bool bold)
{
    auto *label = new QLabel(parent);
    label->setObjectName(QLatin1String(name));
    label->setGeometry(geometry);
    label->setAttribute(Qt::WA_TranslucentBackground);
    label->setTextFormat(Qt::PlainText);
    QFont font = label->font();
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    label->setFont(font);
    return label;
}

void SetTextColour(QLabel *label, QColor colour)
{
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, colour);
    label->setPalette(palette);
}
} // namespace

TSplashForm::TSplashForm() : QWidget(nullptr, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
{
    setObjectName(QStringLiteral("SplashForm"));
    // On X11 the splash is mapped by the server at once, without the window manager's round trip: it is
    // on top and centred by itself, and it takes no input.
    if (!isWaylandSession()) setWindowFlag(Qt::X11BypassWindowManagerHint);
    setFixedSize(ClientWidth, ClientHeight);
    QFont base = PreferredFont(QStringLiteral("Tahoma"), 8);
    base.setPixelSize(11);
    setFont(base);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, QColor(0xC0, 0xC0, 0xC0));
    palette.setColor(QPalette::WindowText, Qt::black);
    setPalette(palette);
    setAutoFillBackground(true);
    ImgSplash = Label(this, "ImgSplash", rect(), 11, false);
    lblSpecialVersion = Label(this, "lblSpecialVersion", {64, 104, 89, 13}, 13, true);
    lblCopyright = Label(this, "lblCopyright", {16, 280, 457, 11}, 9, false);
    lblWarning = Label(this, "lblWarning", {16, 296, 457, 11}, 9, false);
    lblWarning->setWordWrap(true);
    lblApplicationVersion = Label(this, "lblApplicationVersion", {16, 328, 225, 13}, 11, false);
    SetTextColour(lblSpecialVersion, Qt::white);
}

void TSplashForm::Fill(const TCVApplication &application, const QPixmap *bitmap, Colour textColour)
{
    const QColor colour(GetRValue(textColour), GetGValue(textColour), GetBValue(textColour));
    lblSpecialVersion->setText(application.SpecialVersion);
    lblCopyright->setText(application.Copyright);
    SetTextColour(lblCopyright, colour);
    lblWarning->setText(QStringLiteral("This program is protected by copyright law and international treaties."));
    SetTextColour(lblWarning, colour);
    lblApplicationVersion->setText(QStringLiteral("%1 %2").arg(QStringLiteral("Version"), application.VersionText));
    if (bitmap) ImgSplash->setPixmap(*bitmap);
}

void ShowSplash(const TCVApplication &application, const QPixmap *bitmap, Colour textColour)
{
    auto *form = new TSplashForm;
    form->Fill(application, bitmap, textColour);
    if (!application.AppIcon.isNull()) form->setWindowIcon(application.AppIcon);
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        form->move(screen->geometry().center() - form->rect().center());
    form->show();
    // The window server maps the window asynchronously and keeps no copy of what was drawn before; wait
    // (briefly) until it is on screen, so that the paint lasts through the caller's blocking wait.
    QElapsedTimer waited;
    waited.start();
    while (!form->windowHandle()->isExposed() && waited.elapsed() < 1000)
        QApplication::processEvents(QEventLoop::ExcludeUserInputEvents, 10);
    form->repaint();
    QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    Shown() = form;
}

void HideSplash()
{
    if (TSplashForm *form = Shown()) {
        form->close();
        delete form;
        QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    }
}

TSplashForm *SplashForm()
{
    return Shown();
}
