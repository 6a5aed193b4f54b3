// Helpers for tests that open the real help viewer and press keys in the framework's dialogs.
#pragma once

#include <QApplication>
#include <QTest>
#include <QTextBrowser>
#include <QWidget>

// The help window ("MainWindow"), when it is on screen.
inline QWidget *HelpWindow()
{
    for (QWidget *window : QApplication::topLevelWidgets())
        if (window->objectName() == QLatin1String("MainWindow") && window->isVisible()) return window;
    return nullptr;
}

// The file name of the topic the help window shows; empty without a help window.
inline QString ShownTopic()
{
    QWidget *window = HelpWindow();
    return window ? window->findChild<QTextBrowser *>(QStringLiteral("helpBrowser"))->source().fileName() : QString();
}

inline void CloseHelpWindow()
{
    if (QWidget *window = HelpWindow()) window->close();
}

// A key pressed and released in a window, each event to the control that has the window's focus at that
// moment, as the window system delivers them.
inline void PressAndRelease(QWidget *window, Qt::Key key)
{
    const auto focused = [window] { return window->focusWidget() ? window->focusWidget() : window; };
    QTest::keyPress(focused(), key);
    QTest::keyRelease(focused(), key);
}
