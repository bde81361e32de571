#pragma once
// Identifiers shared by the resource script and the code.

#define IDI_VELTRANO 103

// Menus
#define IDR_MAIN_MENU 100
#define IDR_HISTORY_MENU 101
#define IDR_MANUAL_REPLACE_MENU 102

// Main menu commands
#define IDM_EXIT 40001
#define IDM_ABOUT 40002
#define IDM_OPEN_README 40003
#define IDM_SETTINGS 40004
#define IDM_ENCRYPT_KEYWORD_FILE 40005
#define IDM_ENCRYPT_REPLACE_FILE 40006
#define IDM_ENCRYPT_COPY_TEXTS 40007
#define IDM_DECRYPT_COPY_TEXTS 40008
#define IDM_AUTO_REPLACE 40009
#define IDM_TEXT_WINDOW_MOVE_TO_MOUSE 40013
#define IDM_OPEN_PROGRAM_FOLDER 40014
#define IDM_OPEN_COPY_TEXT_FOLDER 40015
#define IDM_OPEN_LOG_FOLDER 40016
#define IDM_OPEN_WILDCARD_KEYWORDS 40017
#define IDM_OPEN_REGEX_KEYWORDS 40018
#define IDM_OPEN_WILDCARD_REPLACE 40019
#define IDM_OPEN_REGEX_REPLACE 40020
#define IDM_TEXT_WINDOW_MOVABLE 40021
#define IDM_TEXT_WINDOW_FIXED 40022
#define IDM_TEXT_WINDOW_CLICK_THROUGH 40023
#define IDM_TEXT_WINDOW_HIDE 40024
#define IDM_PLACEHOLDER 40999

// Command ranges of the dynamic menus
#define IDM_HISTORY_FIRST 41000
#define IDM_COPY_TEXT_FIRST 44000
#define IDM_MANUAL_REPLACE_FIRST 47000

// About box
#define IDD_ABOUT 2000

// Settings sheet pages, in sheet order.
#define IDD_PAGE_BASIC 3000
#define IDD_PAGE_REPLACE 4000
#define IDD_PAGE_HISTORY 5000
#define IDD_PAGE_LOG 6000
#define IDD_PAGE_TEXT_WINDOW 7000
#define IDD_PAGE_TRAY 8000
#define IDC_ABOUT_ICON 2001
#define IDC_ABOUT_LINK 2002
// The maker's homepage and rights holder, one place each (narrow literals: the resource script
// uses them as they are, the code widens them). Placeholders until the real ones are known.
#define VELTRANO_HOMEPAGE_URL "https://veltrano.example/"
#define VELTRANO_RIGHTS_HOLDER "Copyright (C) The Veltrano authors"
