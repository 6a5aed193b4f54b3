// The colours the editor keeps, read from the store as the editor restores them, without a window: for a
// palette written from the command line.
#pragma once

#include "RegistryHive.h"
#include "TintPalette.h"

// The window's colour slots.
inline constexpr int SlotCount = 12;

// The slots, custom colours and recent colours under the application's key. Raises RegistryStoreError when the
// store cannot be read.
TintColours ReadStoredColours(registry::HKEY hive, const QString &appKey);
