// The status bar's hint: the whole text always, in the bar's type or, where that is too wide for the bar of a
// window of fixed width, in a smaller one (down to seven tenths of it); only past that is it wrapped. A screen
// reader reads it as the label's text, a child of the status bar.
#pragma once

#include <QLabel>

class HintLabel : public QLabel
{
    Q_OBJECT

public:
    explicit HintLabel(QWidget *parent = nullptr);

    void setHint(const QString &hint);

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void fit();

    QFont m_font; // the bar's own type, set as the label was made
};
