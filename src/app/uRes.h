// The program's start-up and shutdown: the application object, the start-up records, the splash screen
// and the preference store, from before the main window exists until after it is gone.
#pragma once

#include "RegistryHive.h"

#include <QString>

#include <chrono>

// How long the splash screen stands once the preferences are loaded.
inline constexpr std::chrono::milliseconds SplashWait{2000};

// Where the program keeps what it remembers: the hive and the application's key in it.
inline constexpr registry::HKEY StoreHive = registry::HKEY_LOCAL_MACHINE;
QString StoreAppKey();

// Fills the application object, writes "Location" and "Version" under the application's key, shows the
// splash screen, loads the preferences, blocks for splashWait and hides the splash screen.
void StartUp(std::chrono::milliseconds splashWait);
// For a run without the editor: the application object and the preferences, loaded, without the splash
// screen; nothing is written to the store.
void StartUpQuietly();
// Saves the preferences and frees what StartUp made. Run once the main window is destroyed.
void ShutDown();
// Frees what StartUp or StartUpQuietly made, saving nothing.
void ReleaseStartUp();
// The program's run inside its QApplication: StartUp, the main window shown with the warnings about the
// settings store once it is on screen, the event loop, the window's destruction and ShutDown, on every
// way out (an error that ends the program while the window is first shown included). Gives the exit code.
int RunTintwell(std::chrono::milliseconds splashWait);
