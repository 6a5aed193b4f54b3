// TOptionsDlg: the preferences dialog. It edits the one preference store directly: Apply and OK take the
// controls into the store and save it at once, Cancel and Escape leave it as the last Apply left it.
#pragma once

#include <QDialog>

#include <functional>

class QCheckBox;
class QComboBox;
class QPushButton;
class QTabWidget;
class TSpinEdit;

class TOptionsDlg : public QDialog
{
    Q_OBJECT

public:
    // preferencesChanged is told after every store, before the save.
    TOptionsDlg(QWidget *owner, std::function<void()> preferencesChanged);

    void LoadControls();
    // Checks every field first: on one that holds no whole number it puts the focus there and raises the
    // warning "<group>, <label>: '%s' is not a valid integer value", storing nothing.
    void StoreControls();

    QTabWidget *pcOptions;
    QCheckBox *chkSaveWindow;
    TSpinEdit *txtWidth;
    TSpinEdit *txtHeight;
    TSpinEdit *txtDelay;
    QComboBox *cbSample;
    QCheckBox *chkCaptureAllScreens;
    QCheckBox *chkCaptureSRGB;
    QPushButton *cmdOK;
    QPushButton *cmdCancel;
    QPushButton *cmdApply;

private:
    QWidget *CreateGeneralPage();
    void cmdApplyClick();
    void cmdOKClick();

    std::function<void()> m_preferencesChanged;
};

// A fresh dialog, filled from the store and shown modally over owner.
void ShowPreferences(QWidget *owner, std::function<void()> preferencesChanged);
