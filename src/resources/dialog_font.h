// The dialogs' font, by flavour (point size, face name).
#pragma once

#if VORNIK_FLAVOUR_LATER
#define VORNIK_DIALOG_FONT 9, "MS UI Gothic"
#else
#define VORNIK_DIALOG_FONT 8, "MS Shell Dlg"
#endif

// Style shared by the property-page dialogs.
#define VORNIK_PAGE_STYLE WS_CHILD | WS_DISABLED | WS_CAPTION | WS_SYSMENU | DS_SETFONT | DS_SYSMODAL
