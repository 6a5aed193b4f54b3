// A palette as files carry one: named colours, in named groups or in one group without a name, and the error
// that refuses a file.
#pragma once

#include "uFunctions.h"

#include <QList>
#include <QString>

#include <stdexcept>

struct PaletteEntry
{
    QString name;
    colour::Colour colour = colour::White;
    QString key; // its name in CSS and in design tokens, "slot-1"; empty for a colour read from a file
};

struct PaletteGroup
{
    QString name; // empty for colours that stand in no group
    QString key;  // its name in design tokens, "slots"
    QList<PaletteEntry> entries;
};

struct Palette
{
    QString name;
    QList<PaletteGroup> groups;
    int skippedCmyk = 0; // CMYK colours, which have no one sRGB colour without a profile for the printing

    qsizetype colourCount() const;
};

// Why a file is not a palette the program can read, or could not be written: one line.
class PaletteError : public std::runtime_error
{
public:
    explicit PaletteError(const QString &message) : std::runtime_error(message.toStdString()) {}
    QString message() const { return QString::fromUtf8(what()); }
};

// The most a colour's name may hold, in characters, and the most colours a palette may hold: more is a damaged
// or hostile file.
inline constexpr qsizetype MaxColourNameLength = 1000;
inline constexpr qsizetype MaxColourCount = 100000;

// Raises the PaletteError for a palette of more colours than MaxColourCount, once `count` colours are read.
void RequireRoomForColour(qsizetype count);
