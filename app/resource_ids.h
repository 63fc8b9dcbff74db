// Numbers shared by the resource script and the code: icons, menus, commands,
// string-table entries and the About dialog's controls.
#pragma once

#define IDI_GLIMMER 100
#define IDI_DEVICE_ROOT 10001
#define IDI_FOLDER 10002
#define IDI_FOLDER_OPEN 10003

#define IDR_MENU_ENGLISH 1
#define IDR_MENU_JAPANESE 2

#define IDC_FIND 101
#define IDC_CONVERT 102
#define IDC_CONVERT_ALL 103
#define IDC_STOP 104
#define IDC_BROWSE 105
#define IDC_EXIT 109
#define IDC_ABOUT 901

#define IDC_FILE_LIST 2001

#define IDS_PROGRAM_NAME 1
#define IDS_VERSION 2
#define IDS_INFO_LINE_3 3
#define IDS_INFO_LINE_4 4
#define IDS_INFO_LINE_5 5

#define IDC_ABOUT_NAME 2901
#define IDC_ABOUT_VERSION 2902
#define IDC_ABOUT_LINE_3 2903
#define IDC_ABOUT_PROGRAM_MEMORY 2904
#define IDC_ABOUT_OBJECT_STORE 2905
#define IDC_ABOUT_CARD_1 2906
#define IDC_ABOUT_CARD_2 2907
#define IDC_ABOUT_MEMORY_GROUP 2908
#define IDC_ABOUT_LINE_4 2910
#define IDC_ABOUT_LINE_5 2911
