// The program-wide objects that start-up makes before the main window exists (the application object and
// the preferences), made for a test over its own temporary store.
#pragma once

#include "CVApp.h"
#include "RegistryTesting.h"
#include "uOptions.h"

class ProgramState
{
public:
    ProgramState()
    {
        Application = new TCVApplication;
        Application->LongName = QStringLiteral("Corvane Tintwell");
        Application->RegFamilyKey = QStringLiteral("Software\\Corvane\\Corvane Devbench");
        Application->RegAppKey = Application->RegFamilyKey + QStringLiteral("\\Tintwell");
        Application->FontName = QStringLiteral("Tahoma");
        TintOptions = new TTintOptions(Application->RegRoot, Application->RegAppKey);
    }
    ~ProgramState()
    {
        delete TintOptions;
        TintOptions = nullptr;
        delete Application;
        Application = nullptr;
    }
    ProgramState(const ProgramState &) = delete;
    ProgramState &operator=(const ProgramState &) = delete;

    TempRegistry registry;
};
