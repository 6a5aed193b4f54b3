// The Help menu's commands and the preferences command of the editor window.
#include "CVApp.h"
#include "CVHelp.h"
#include "CVMapi.h"
#include "CVWeb.h"
#include "frmMain.h"
#include "frmOptions.h"

void TTintMain::actHelpContentsExecute()
{
    ShowHelp(*Application, 0);
}

void TTintMain::actHelpOnTheWebExecute()
{
    OpenWebAddress(Application->WebAddresses->WebSite);
}

void TTintMain::actHelpSendEmailExecute()
{
    SendSupportMail(this, *Application);
}

void TTintMain::actHelpAboutExecute()
{
    Application->ShowAbout(Application->FontName);
    activateWindow(); // without a window manager nothing gives the window back its keys
}

void TTintMain::actFilePreferencesExecute()
{
    ShowPreferences(this, [this] { PreferencesChanged(); });
    activateWindow(); // without a window manager nothing gives the window back its keys
}

// Every reader takes its preference from the store when it uses it, so there is nothing to refresh here.
void TTintMain::PreferencesChanged() {}
