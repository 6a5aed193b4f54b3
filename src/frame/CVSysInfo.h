// Starting the system-information tool from the about box.
#pragma once

// The program stored as "Path" under HKEY_LOCAL_MACHINE "SOFTWARE\Microsoft\Shared Tools\MSINFO" when there
// is one, else the first system-information program found on PATH; started on its own, without a shell.
// Every failure is the warning "Unable to run System Info at this time." with the cause as details.
void RunSystemInfo();
