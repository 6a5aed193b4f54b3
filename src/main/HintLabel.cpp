#include "HintLabel.h"

#include <QFontMetricsF>

namespace {
constexpr qreal SmallestShare = 0.7; // of the bar's type
constexpr qreal Step = 0.25;         // points
} // namespace

HintLabel::HintLabel(QWidget *parent) : QLabel(parent), m_font(font())
{
    setTextFormat(Qt::PlainText);
    setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    // The bar keeps the height of its own type whatever size a hint is drawn in.
    setMinimumHeight(QFontMetrics(m_font).height());
}

void HintLabel::setHint(const QString &hint)
{
    setText(hint);
    fit();
}

void HintLabel::resizeEvent(QResizeEvent *event)
{
    QLabel::resizeEvent(event);
    fit();
}

void HintLabel::fit()
{
    const qreal room = contentsRect().width() - 2 * margin();
    QFont type = m_font;
    const qreal full = type.pointSizeF();
    while (full > 0 && type.pointSizeF() - Step >= full * SmallestShare &&
           QFontMetricsF(type).horizontalAdvance(text()) > room)
        type.setPointSizeF(type.pointSizeF() - Step);
    setFont(type);
    setWordWrap(QFontMetricsF(type).horizontalAdvance(text()) > room);
}
