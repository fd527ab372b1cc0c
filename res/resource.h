// Ids of the program's dialogs, controls, strings, icon and bitmaps. The language files key
// their texts by the same numbers.
#pragma once

#define IDD_ABOUTBOX 100
#define IDS_ABOUTBOX 101
#define IDD_SETUP_DIALOG 102
#define IDR_MAINFRAME 128
#define IDD_LANGUAGE 137
#define IDD_WELCOME 138
#define IDD_COPY 140
#define IDD_SETTING 143
#define IDB_WELCOME 144
#define IDB_HEADER 145

// The frame (dialog 102).
#define IDC_PAGE_PLACEHOLDER 1000
#define IDC_CANCEL_BUTTON 1061
#define ID_WIZBACK 12323
#define ID_WIZNEXT 12324
#define ID_WIZFINISH 12325

// The about box (dialog 100).
#define IDC_ABOUT_VERSION 1062
#define IDC_ABOUT_COPYRIGHT 1063
#define IDM_ABOUTBOX 0x0010

// Shared by the pages with a header band (137, 140).
#define IDC_HEADER_BOX 1040
#define IDC_HEADER_ICON 1065

// The welcome page (138).
#define IDC_WELCOME_PICTURE 65535
#define IDC_WELCOME_TITLE 1042
#define IDC_WELCOME_TEXT 1043
#define IDC_WELCOME_ADVICE 1044
#define IDC_WELCOME_BUTTONS 1045

// The operating-system and language page (137).
#define IDC_LANGUAGE_TITLE 1051
#define IDC_LANGUAGE_SUBTITLE 1052
#define IDC_OS_GROUP 1053
#define IDC_LANGUAGE_GROUP 1054
#define IDC_LANGUAGE_CHINESE 1037
#define IDC_LANGUAGE_ENGLISH 1038
#define IDC_OS_WIN2000 1070
#define IDC_OS_WINXP 1071
#define IDC_OS_WIN2003 1072
#define IDC_OS_VISTA 1073
#define IDC_OS_WIN7 1074

// The printer settings page (143).
#define IDC_SERIES_LABEL 1055
#define IDC_SERIES_LIST 1006
#define IDC_SETTING_GROUP 1056
#define IDC_SET_DEFAULT 1039
#define IDC_NAME_LABEL 1057
#define IDC_PRINTER_NAME 1019
// The port the printer goes on, and a network printer's address and port number.
#define IDC_PORT_LABEL 1080
#define IDC_PORT_LIST 1081
#define IDC_ADDRESS_LABEL 1082
#define IDC_NETWORK_ADDRESS 1083
#define IDC_PORT_NUMBER_LABEL 1084
#define IDC_PORT_NUMBER 1085

// The installing page (140).
#define IDC_COPY_TITLE 1058
#define IDC_COPY_SUBTITLE 1059
#define IDC_COPY_STATUS 1060
#define IDC_COPY_PROGRESS 1035
