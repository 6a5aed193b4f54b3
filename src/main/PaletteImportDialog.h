// Shows where a palette file's colours would go, the slots and the custom colours, before anything changes:
// OK takes them, Cancel leaves everything as it was.
#pragma once

#include "TintPalette.h"

#include <QDialog>

class PaletteImportDialog : public QDialog
{
    Q_OBJECT

public:
    PaletteImportDialog(const QString &fileName, const PaletteAssignment &assignment, int skippedCmyk,
                        qsizetype slotCount, qsizetype customCount, QWidget *parent = nullptr);
};
