// Answers the colour dialog of the real window. The dialog's exec() blocks whoever opened it, so a polling
// timer finds it once it is up; a QTest key function may run events before returning, which rules out a
// single-shot timer started beforehand.
#pragma once

#include <QApplication>
#include <QColorDialog>
#include <QTest>
#include <QTimer>

#include <functional>

// Opens the dialog with F11 and hands it to answer, which must close it; false when it never came up.
inline bool RunColourDialog(QWidget &window, const std::function<void(QColorDialog &)> &answer)
{
    bool answered = false;
    QTimer poll;
    poll.setInterval(10);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto *dialog = qobject_cast<QColorDialog *>(QApplication::activeModalWidget());
        if (!dialog || !dialog->isVisible()) return;
        poll.stop();
        answered = true;
        answer(*dialog);
    });
    poll.start();
    // The window takes its keys back after each dialog by itself.
    if (!QTest::qWaitForWindowActive(&window)) return false;
    QTest::keyClick(&window, Qt::Key_F11);
    return answered;
}
