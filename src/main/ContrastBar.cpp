#include "ContrastBar.h"

#include "ColourSwatch.h"
#include "Contrast.h"
#include "QtColour.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>

using namespace colour;

// One colour as text on another: a line of normal text and one of large text (WCAG's 14 points bold).
class ContrastSample : public QFrame
{
public:
    explicit ContrastSample(QWidget *parent) : QFrame(parent)
    {
        setFrameStyle(QFrame::Panel | QFrame::Sunken);
        setAttribute(Qt::WA_OpaquePaintEvent);
        QFont large = font();
        large.setPointSize(14);
        large.setBold(true);
        m_large = large;
        setFixedHeight(QFontMetrics(font()).height() + QFontMetrics(m_large).height() + 2 * frameWidth() + 4);
    }

    void setColours(Colour text, Colour background)
    {
        m_text = text;
        m_background = background;
        setAccessibleDescription(QStringLiteral("%1 on %2")
                                     .arg(QString::fromStdString(ColourToHTMLText(text)),
                                          QString::fromStdString(ColourToHTMLText(background))));
        update();
    }

protected:
    void paintEvent(QPaintEvent *event) override
    {
        {
            QPainter painter(this);
            const QRect inside = contentsRect();
            painter.fillRect(inside, toQColor(m_background));
            painter.setPen(toQColor(m_text));
            const QRect text = inside.adjusted(6, 2, -4, -2);
            painter.drawText(text, Qt::AlignLeft | Qt::AlignTop, QStringLiteral("Normal text"));
            painter.setFont(m_large);
            painter.drawText(text, Qt::AlignLeft | Qt::AlignBottom, QStringLiteral("Large text"));
        }
        QFrame::paintEvent(event);
    }

private:
    QFont m_large;
    Colour m_text = 0;
    Colour m_background = White;
};

namespace {

QString Html(Colour colour)
{
    return QString::fromStdString(ColourToHTMLText(colour));
}

QString Ratio(double ratio)
{
    return QString::fromStdString(FormatRatio(ratio));
}

} // namespace

ContrastBar::ContrastBar(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("pContrast"));
    auto *outer = new QVBoxLayout(this);
    outer->setContentsMargins(4, 0, 4, 2);
    auto *group = new QGroupBox(QStringLiteral(" Contrast "), this);
    group->setAccessibleName(QStringLiteral("Contrast")); // read without the title's padding
    group->setObjectName(QStringLiteral("gbContrast"));
    outer->addWidget(group);
    auto *grid = new QGridLayout(group);
    grid->setContentsMargins(6, 2, 6, 4);
    grid->setHorizontalSpacing(6);
    grid->setVerticalSpacing(2);

    m_onBackground = new ContrastSample(group);
    m_onBackground->setAccessibleName(QStringLiteral("Current color on the background"));
    m_onForeground = new ContrastSample(group);
    m_onForeground->setAccessibleName(QStringLiteral("Background on the current color"));
    grid->addWidget(m_onBackground, 0, 0);
    grid->addWidget(m_onForeground, 0, 1);

    m_ratio = new QLabel(group);
    m_ratio->setObjectName(QStringLiteral("lblContrastRatio"));
    QFont ratioFont = font();
    ratioFont.setBold(true);
    ratioFont.setPointSize(ratioFont.pointSize() + 3);
    m_ratio->setFont(ratioFont);
    auto *backgrounds = new QHBoxLayout;
    backgrounds->setSpacing(2);
    backgrounds->addWidget(m_ratio, 1);
    const auto addButton = [&](const char *name, const QString &caption, const QString &hint, auto onClick) {
        auto *button = new QPushButton(caption, group);
        button->setObjectName(QLatin1String(name));
        button->setStatusTip(hint);
        button->setToolTip(hint);
        button->setFixedHeight(QFontMetrics(font()).height() + 8);
        connect(button, &QPushButton::clicked, this, onClick);
        backgrounds->addWidget(button);
        return button;
    };
    addButton("btnWhite", QStringLiteral("&White"), QStringLiteral("Check against a white background"),
              [this] { setBackground(White); });
    addButton("btnBlack", QStringLiteral("Blac&k"), QStringLiteral("Check against a black background"),
              [this] { setBackground(0); });
    addButton("btnSwap", QStringLiteral("Swa&p"), QStringLiteral("Swap the current color and the background"),
              &ContrastBar::swap);
    grid->addLayout(backgrounds, 1, 0, 1, 2);

    // The verdicts as a table: AA and AAA by rows, normal and large text by columns, then the non-text one.
    auto *verdicts = new QGridLayout;
    verdicts->setHorizontalSpacing(8);
    verdicts->setVerticalSpacing(0);
    const auto addHeading = [&](const QString &text, int row, int column) {
        verdicts->addWidget(new QLabel(text, group), row, column);
    };
    addHeading(QStringLiteral("Normal text"), 0, 1);
    addHeading(QStringLiteral("Large text"), 0, 2);
    addHeading(QStringLiteral("AA"), 1, 0);
    addHeading(QStringLiteral("AAA"), 2, 0);
    addHeading(QStringLiteral("Non-text"), 3, 0);
    for (size_t i = 0; i < ContrastCriteria.size(); ++i) {
        auto *verdict = new QLabel(group);
        verdicts->addWidget(verdict, 1 + int(i / 2), 1 + int(i % 2));
        m_verdicts.append(verdict);
    }
    verdicts->setColumnStretch(2, 1);
    grid->addLayout(verdicts, 2, 0, 1, 2);

    m_nearest = new QPushButton(group);
    m_nearest->setObjectName(QStringLiteral("btnNearestPassing"));
    m_nearest->setStatusTip(QStringLiteral("Make the nearest color that passes AA normal text the current color"));
    m_nearest->setToolTip(m_nearest->statusTip());
    m_nearest->setFixedHeight(QFontMetrics(font()).height() + 8);
    connect(m_nearest, &QPushButton::clicked, this, [this] { emit colourChosen(m_nearestColour); });
    grid->addWidget(m_nearest, 3, 0, 1, 2);

    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    refresh();
}

void ContrastBar::setBackground(Colour colour)
{
    if (colour == m_background) return;
    m_background = colour;
    refresh();
    emit backgroundChanged(colour);
}

void ContrastBar::setForeground(Colour colour)
{
    if (colour == m_foreground) return;
    m_foreground = colour;
    if (!isHidden()) refresh();
}

void ContrastBar::setVisible(bool visible)
{
    const bool was = !isHidden();
    QWidget::setVisible(visible);
    if (visible) refresh(); // what changed while hidden
    if (was != visible) emit visibilityChanged(visible);
}

void ContrastBar::swap()
{
    const Colour former = m_background;
    setBackground(m_foreground);
    emit colourChosen(former);
}

void ContrastBar::refresh()
{
    m_onBackground->setColours(m_foreground, m_background);
    m_onForeground->setColours(m_background, m_foreground);
    const double ratio = ContrastRatio(m_foreground, m_background);
    m_ratio->setText(Ratio(ratio));
    m_ratio->setAccessibleName(QStringLiteral("Contrast ratio %1 against %2").arg(Ratio(ratio), Html(m_background)));
    for (size_t i = 0; i < ContrastCriteria.size(); ++i) {
        const ContrastCriterion &criterion = ContrastCriteria[i];
        const bool passes = ratio >= criterion.threshold;
        const QString verdict = QStringLiteral("%1 (%2:1)")
                                    .arg(passes ? QStringLiteral("pass") : QStringLiteral("fail"))
                                    .arg(criterion.threshold);
        QLabel *label = m_verdicts[qsizetype(i)];
        label->setText(passes ? verdict : QStringLiteral("<b>%1</b>").arg(verdict));
        label->setAccessibleName(QStringLiteral("%1: %2").arg(
            QLatin1String(criterion.name.data(), qsizetype(criterion.name.size())), verdict));
    }

    const std::optional<Colour> nearest = NearestPassingColour(m_foreground, m_background);
    m_nearestColour = nearest.value_or(m_foreground);
    if (!nearest)
        m_nearest->setText(QStringLiteral("Nearest Passing Color: none of this hue"));
    else if (*nearest == m_foreground)
        m_nearest->setText(QStringLiteral("Nearest Passing Color: this one passes"));
    else
        m_nearest->setText(QStringLiteral("Nearest Passing Color: %1 (%2)")
                               .arg(Html(*nearest), Ratio(ContrastRatio(*nearest, m_background))));
    m_nearest->setIcon(SwatchIcon(m_nearestColour, devicePixelRatio()));
    m_nearest->setEnabled(nearest && *nearest != m_foreground);
}
