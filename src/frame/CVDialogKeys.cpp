#include "CVDialogKeys.h"

#include "CVHelp.h"

#include <QApplication>
#include <QDialog>
#include <QKeyEvent>

namespace {
// Watches every key press of the application for the ones whose receiver lies in its dialog.
class DialogKeyPreview : public QObject
{
public:
    DialogKeyPreview(QDialog *dialog, const TCVApplication &application)
        : QObject(dialog), m_dialog(dialog), m_application(application)
    {
        qApp->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() != QEvent::KeyPress || !watched->isWidgetType()) return false;
        if (static_cast<QWidget *>(watched)->window() != m_dialog) return false;
        const auto *key = static_cast<QKeyEvent *>(event);
        if (key->key() != Qt::Key_Escape && key->key() != Qt::Key_F1) return false;
        if (!key->isAutoRepeat()) HandleDialogKey(key->key(), m_dialog, m_application);
        return true;
    }

private:
    QDialog *m_dialog;
    const TCVApplication &m_application;
};
} // namespace

void HandleDialogKey(int key, QWidget *dialog, const TCVApplication &application)
{
    if (key == Qt::Key_Escape)
        dialog->close();
    else if (key == Qt::Key_F1)
        ShowHelp(application, dialog->property("HelpContext").toInt());
}

void InstallDialogKeys(QDialog *dialog, const TCVApplication &application)
{
    new DialogKeyPreview(dialog, application);
}
