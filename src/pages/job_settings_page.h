// The Job Settings page: reserve job on or off, with the user name and the
// password that go with it, kept in the plug-in's private devmode. The page
// filters typed characters, enables its fields only while reserve job is on,
// and saves whenever the user leaves the page or applies the sheet.
#pragma once

#include <windows.h>

#include "core/private_devmode.h"

namespace vornik {

// Characters the user-name and job-name edits accept.
constexpr int kUserNameLimit = 14;
// Characters the password edit accepts: exactly what the record's field
// holds besides its terminator, so what the user sees is what is stored.
constexpr int kPasswordLimit =
    static_cast<int>(sizeof(PrivateDevmode::password) / sizeof(WCHAR)) - 1;
// Units read back from each edit on leave and apply, terminator included.
constexpr int kReadBackUnits = 15;

// The page's dialog procedure; its lParam at WM_INITDIALOG is the page record
// whose lParam is the PluginContext.
INT_PTR CALLBACK JobSettingsDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// Enables the user-name, job-name and password edits and their labels while
// the reserve-job box is checked, and disables them otherwise.
void EnableJobFields(HWND dialog);

// Window procedures installed on the edits: the user name takes printable
// ASCII (0x20 to 0x7E) and backspace; the password the same without the
// space. Other characters are swallowed; every other message goes to the
// edit control's own procedure.
LRESULT CALLBACK UserNameCharFilter(HWND edit, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK PasswordCharFilter(HWND edit, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace vornik
