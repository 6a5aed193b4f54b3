#include "PaletteImportDialog.h"

#include "ColourSwatch.h"

#include <QAbstractButton>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QVBoxLayout>

using namespace colour;

namespace {

constexpr int SwatchSide = 22;
constexpr int PerRow = 12;

QString Count(qsizetype count, const char *one)
{
    return count == 1 ? QStringLiteral("1 %1").arg(QLatin1String(one))
                      : QStringLiteral("%1 %2s").arg(count).arg(QLatin1String(one));
}

// A row of swatches: the colours that come, then empty places for the positions that keep theirs, and a line
// that says which those are. Each place is named for a screen reader, its colour or "unchanged" described.
QWidget *SwatchRows(const QString &caption, const QList<Colour> &colours, qsizetype count, QWidget *parent)
{
    auto *rows = new QWidget(parent);
    auto *grid = new QGridLayout(rows);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setSpacing(3);
    for (qsizetype position = 0; position < count; ++position) {
        const QString name = QStringLiteral("%1 %2").arg(caption).arg(position + 1);
        QFrame *place = nullptr;
        if (position < colours.size()) {
            auto *swatch = new ColourSwatch(rows);
            swatch->setColour(colours[position]);
            place = swatch;
        } else {
            place = new QFrame(rows);
            place->setFrameStyle(QFrame::Box | QFrame::Plain);
            place->setEnabled(false);
            place->setAccessibleDescription(QStringLiteral("unchanged"));
        }
        place->setAccessibleName(name);
        place->setToolTip(name + QStringLiteral(": ") + place->accessibleDescription());
        place->setFixedSize(SwatchSide, SwatchSide);
        grid->addWidget(place, int(position / PerRow), int(position % PerRow));
    }
    grid->setColumnStretch(PerRow, 1);
    if (colours.size() < count) {
        const qsizetype first = colours.size() + 1;
        auto *kept =
            new QLabel(first == count ? QStringLiteral("%1 %2 unchanged").arg(caption).arg(count)
                                      : QStringLiteral("%1s %2 to %3 unchanged").arg(caption).arg(first).arg(count),
                       rows);
        grid->addWidget(kept, int((count - 1) / PerRow) + 1, 0, 1, PerRow);
    }
    return rows;
}

} // namespace

PaletteImportDialog::PaletteImportDialog(const QString &fileName, const PaletteAssignment &assignment, int skippedCmyk,
                                         qsizetype slotCount, qsizetype customCount, QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("frmPaletteImport"));
    setWindowTitle(QStringLiteral("Palette Preview"));
    auto *layout = new QVBoxLayout(this);
    auto *from = new QLabel(QStringLiteral("From %1:").arg(fileName), this);
    from->setTextFormat(Qt::PlainText); // a file may be called "<h1>BIG.gpl"
    layout->addWidget(from);
    layout->addWidget(new QLabel(QStringLiteral("Color Slots"), this));
    layout->addWidget(SwatchRows(QStringLiteral("Slot"), assignment.slotColours, slotCount, this));
    layout->addWidget(new QLabel(QStringLiteral("Custom colors"), this));
    layout->addWidget(SwatchRows(QStringLiteral("Custom color"), assignment.customColours, customCount, this));

    QStringList notes;
    if (assignment.unused > 0) notes.append(Count(assignment.unused, "color") + QStringLiteral(" not used"));
    if (skippedCmyk > 0) notes.append(Count(skippedCmyk, "CMYK color") + QStringLiteral(" skipped"));
    if (!notes.isEmpty()) {
        auto *note = new QLabel(notes.join(QStringLiteral("; ")) + u'.', this);
        note->setObjectName(QStringLiteral("lblNotes"));
        layout->addWidget(note);
    }

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    for (QAbstractButton *button : buttons->buttons())
        button->setIcon({});
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}
