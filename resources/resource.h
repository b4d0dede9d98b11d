// Resource identifiers of pelimbrance.exe; shared by the .rc script and the code.
#pragma once

// Dialog templates.
#define IDD_ABOUT 100
#define IDD_MAIN 102
#define IDD_SAVE_IMAGE 103

// Icon.
#define IDI_PELIMBRANCE 128

// Strings.
#define IDS_VERSION 10
#define IDS_PRODUCT_LINE 11
#define IDS_CANNOT_LOAD_CODESET 14
#define IDS_CANNOT_SAVE_BITMAP 100
#define IDS_ABOUT_MENU 101
#define IDS_FORMAT_BASE 200  // + 1..15: "%d\t<name>" of the standard clipboard formats
#define IDS_APP_TITLE 57344  // the caption of every message box

// Further texts of the program, kept in the string table with the numbered ones.
#define IDS_CANNOT_CREATE_FLAG_LIST 300  // "Cannot create the flag image list."
#define IDS_CANNOT_OPEN_CLIPBOARD 301    // "Cannot open the Clipboard."
#define IDS_NO_CODESET_FOR_LOCALE 302    // "Cannot find code set for the current locale."
#define IDS_CODESET_NOT_FOUND 303        // "Cannot find code set '%s'"
#define IDS_LOCALE_NOT_SUPPORTED 304     // "The current locale code in the Clipboard ..."
#define IDS_FORMAT_COUNT 305             // "Count = %d"
#define IDS_SYSTEM_LOCALE 306            // "System Locale: 0x%04X"
#define IDS_FORMAT_NAMED 307             // "%d\t%s"
#define IDS_FORMAT_NO_NAME 308           // "%d\t<no name>"
#define IDS_NO_LOCALE_INFO 309           // "<No locale information available>"
#define IDS_LOCALE_HANDLE_NULL 310       // "<Locale handle is null>"
#define IDS_LOCALE_VALUE 311             // "0x%04X"
#define IDS_DISPLAY_NOT_ENABLED 312      // "<Display of data not enabled>"
#define IDS_CANNOT_DISPLAY 313           // "<cannot display data>"
#define IDS_NO_DATA 314                  // "<No data available>"
#define IDS_DATA_HANDLE_NULL 315         // "<Data handle is null>"
#define IDS_TOO_MUCH_DATA 316            // "<Too much data for display>"
#define IDS_CANNOT_OPEN_HELP 317         // "Cannot open the help page %s."
#define IDS_OWNER_NOT_RESPONDING 318     // "<The program that owns the Clipboard is not ..."

// System menu command of the About item.
#define IDM_ABOUTBOX 16
// The framework's help command.
#define ID_HELP_COMMAND 0xE146
// Help context of the main window: 0x20000 + its template number.
#define HELP_CONTEXT_MAIN (0x20000 + IDD_MAIN)

// The help page that stands beside the exe.
#define HELP_PAGE_NAME "pelimbrance.html"

// Controls that the code never addresses.
#ifndef IDC_STATIC
#define IDC_STATIC -1
#endif

// Main window controls.
#define IDC_HELP_BUTTON 9
#define IDC_FORMAT_LIST 1000
#define IDC_REFRESH_AUTO 1001
#define IDC_DATA_DISPLAY 1002
#define IDC_REFRESH 1003
#define IDC_CLIPBOARD_LOCALE 1004
#define IDC_EMPTY_CLIPBOARD 1005
#define IDC_AUTO_CONVERT 1006
#define IDC_PLAIN_TEXT 1007
#define IDC_OEM_TEXT 1008
#define IDC_RICH_TEXT 1009
#define IDC_SYSTEM_LOCALE 1010
#define IDC_FORMAT_COUNT 1011
#define IDC_CONVERT 1012
#define IDC_EXIT 1013
#define IDC_CODE_SET 1014
#define IDC_LOCALE 1015
#define IDC_DISPLAY_DATA 1016
#define IDC_UNICODE_TEXT 1017
#define IDC_CODESET_FOLLOWS_LOCALE 1018
#define IDC_ABOUT 1019
#define IDC_USE_CLIPBOARD_LOCALE 1020
#define IDC_ALLOW_ENTITIES 1022
#define IDC_SAVE_IMAGES 1023
#define IDC_TO_HEXA 1024

// About box controls.
#define IDC_PRODUCT_LINE 1232
#define IDC_EDITION_LINE 1233

// Save image dialog controls.
#define IDC_OUTPUT_PATH 1023
#define IDC_DISABLE_SAVING 1028
#define IDC_LAUNCH_EDITOR 1029
