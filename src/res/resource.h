#pragma once
// Resource identifiers shared by the resource script and the code. Plain
// macros, so that the resource compiler reads them too.

#define IDD_ABOUTBOX 100
#define IDS_ABOUTBOX 101
#define IDD_MAIN 102
#define IDR_MAINFRAME 128
#define IDR_LIST_MENU 130

// Main dialog
#define IDC_RESULT_LIST 1000
#define IDC_COPY_TO_CLIPBOARD 1004
#define IDC_DOWNLOADS_LINK 1007
#define IDC_HELP_BUTTON 1009
#define IDC_SHOW_ALL 1010
#define IDC_ABOUT_BUTTON 1011
#define IDC_INSTRUCTIONS 1013
#define IDC_NOTICE 1014
#define IDC_TOP_ICON 1015
#define IDC_LOWER_ICON 1016
#define IDC_SIZE_GRIP 1017

// About box
#define IDC_HOME_PAGE_LINK 1012
#define IDC_ABOUT_ICON 1018

// The system menu's About item; its low four bits are ignored.
#define IDM_ABOUTBOX 0x0010

// The result list's popup menu
#define ID_LIST_COPY_ROW 32771
#define ID_LIST_EXPLORE_LOCATION 32772
#define ID_LIST_COPY_ITEM 32774

#ifndef IDC_STATIC
#define IDC_STATIC (-1)
#endif
