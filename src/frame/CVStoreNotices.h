// What went wrong with the settings store that the user should hear about: a damaged file kept aside, a
// store that may not be written, a full disk, a store another program holds. The registry operations and
// the form-state stores note what they meet; each kind of trouble, at one place, is told once per run, so
// that a store that cannot be written costs the user one warning, not one per save.
#pragma once

#include "CVExceptions.h"
#include "RegistryHive.h"

#include <optional>

class QWidget;
namespace registry {
class RegistryStoreError;
}

enum class StoreUse { Reading, Writing };

// Notes a failure to read or write the store.
void NoteStoreFailure(const registry::RegistryStoreError &error, StoreUse use = StoreUse::Writing);
// Checks the hive before anything else touches it: a damaged file is set aside under a name that says so,
// and noted, so that the program starts on its defaults and saves into a fresh hive.
void KeepDamagedStoreAside(registry::HKEY hive);
// The warning (kind 1) for the oldest trouble noted and not yet told; told from now on.
std::optional<ECVException> TakeStoreWarning();
// Shows every warning not yet told, each in the details dialog, once the window is on screen.
void ShowStoreWarningsWhenShown(QWidget &window);
