// TAboutForm: the about box, with the program's identity beside an accent strip and the way to the
// system-information tool and the technical-support help.
#pragma once

#include <QDialog>

class QFrame;
class QLabel;
class QPushButton;
class TCVApplication;

class TAboutForm : public QDialog
{
    Q_OBJECT

public:
    TAboutForm(QWidget *owner, const TCVApplication &application);

    QLabel *lblApplicationName;
    QLabel *lblApplicationVersion;
    QLabel *lblSpecialVersion;
    QLabel *lblCopyright;
    QLabel *lblOtherCopyrights;
    QLabel *imgApplicationIcon;
    QFrame *pLeft;
    QFrame *pIcon02;
    QPushButton *cmdOK;
    QPushButton *cmdSysInfo;
    QPushButton *cmdSupport;

private:
    void CreateAccentStrip(const QColor &accent);
    void CreateTexts();
    void CreateButtons();

    const TCVApplication &m_application;
};
