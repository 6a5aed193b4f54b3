// TCVApplication: everything that identifies the program to the rest of the system. One instance lives
// from start-up until the main window is gone; nothing writes its fields after start-up.
#pragma once

#include "RegistryHive.h"
#include "uFunctions.h"

#include <QIcon>
#include <QString>

#include <memory>

struct TCVWebAddresses
{
    QString WebSite;
    QString EMail;
};

class TCVApplication
{
public:
    // Also sets ExePath (the folder, with its trailing separator) and HelpFile (the compiled help beside
    // the executable).
    void SetExeName(const QString &path);
    // The about box, modal over the active window, in the given font.
    void ShowAbout(const QString &fontName);

    QString ExeName;
    QString ExePath;
    registry::HKEY RegRoot = registry::HKEY_LOCAL_MACHINE;
    QString RegFamilyKey;
    QString RegAppKey;
    QString ShortName;
    QString FamilyName;
    QString SuiteName;
    QString LongName;
    QString VersionText;
    QString SpecialVersion;
    bool EnglishUI = true;
    QIcon AppIcon;
    QString Copyright;
    QString OtherCopyrights;
    QString FontName;
    QString HelpFile;
    std::unique_ptr<TCVWebAddresses> WebAddresses = std::make_unique<TCVWebAddresses>();
    colour::Colour AccentColour = 0;
};

// The one application object of the run, or null before start-up and after shutdown.
extern TCVApplication *Application;

// The program's title, LongName, for the windows that have no caption of their own. Every window's title is
// exactly its caption: the program sets no application display name, which Qt would append to each one.
QString ApplicationTitle();
