// The Main dialog's resources: template and control ids, the one place they
// are named. Shared by the resource script, the Win32 code and the Wine test
// driver; the portable dialog logic has the same ids in app/main_dialog.h.
#pragma once

#define IDD_MAIN_DIALOG 101

#define IDC_GENERATE 1          // "Generate script", the default button
#define IDC_EXIT 2              // "Exit"; also Escape
#define IDC_FIRST_MAP_BOX 1001  // map box 1001 + i is catalogue entry i
#define IDC_LAST_MAP_BOX 1046
#define IDC_CHECK_BLIND_RANDOM 1047  // "Check/uncheck all" of 1001..1023
#define IDC_CUSTOM_LIST 1048         // the Custom script list (sorted list box)
#define IDC_SCRIPT_CHOOSER 1049      // the Custom script chooser (sorted combo box)
#define IDC_ADD 1050                 // "Add"
#define IDC_GAME_FOLDER 1051         // the Game folder field
#define IDC_OUTPUT_NAME 1052         // the Output name field
#define IDC_BROWSE 1054              // "Browse"
#define IDC_CHECK_LOCALE 1055        // "Check/uncheck all" of 1024..1042

#define IDC_STATIC_TEXT -1  // static texts and group boxes have no id of their own
