// Palettes for the web: CSS custom properties, and the colour tokens of the Design Tokens Community Group.
// Written only; the names are the entries' and groups' keys.
#pragma once

#include "Palette.h"

#include <QByteArray>

// ":root { --slot-1: #FF8000; ... }", a comment naming each group.
QByteArray WriteCssPalette(const Palette &palette);
// {"slots": {"slot-1": {"$type": "color", "$value": {"colorSpace": "srgb", ...}}, ...}, ...}
QByteArray WriteDesignTokens(const Palette &palette);
