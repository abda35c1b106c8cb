// Resource, command and control identifiers of Quellan.exe.
// Plain #defines only: windres includes this file as well as C++.
#ifndef QUELLAN_RES_RESOURCE_H_
#define QUELLAN_RES_RESOURCE_H_

// Frame resources: menu, accelerators, icon, title string and the image
// strip of the menu bar all share this id.
#define IDR_MAINFRAME 128

// Dialog templates.
#define IDD_ABOUTBOX 100
#define IDD_QUELLAN_VIEW 129
#define IDD_IP_CHANGE 215
#define IDD_IP_CHANGE_MULTI 216
#define IDD_IP_CHANGE_STATE 218

// Command toolbar: toolbar 201 with its 4 bpp placeholder bitmap 201, and
// the three 24 bpp image strips that replace it.
#define IDR_COMMAND_TOOLBAR 201
#define IDB_TOOLBAR_NORMAL 211
#define IDB_TOOLBAR_HOT 212
#define IDB_TOOLBAR_DISABLED 217

// Caption buttons: two 15 x 15 images each, normal (white) and hot (red).
#define IDB_CAPTION_CLOSE 206
#define IDB_CAPTION_MAXIMIZE 207
#define IDB_CAPTION_MINIMIZE 208
#define IDB_CAPTION_RESTORE 210

// Commands of the program.
#define ID_DEVICE_SEARCH 32777
#define ID_DEVICE_IP_CHANGE 32778
#define ID_DEVICE_WEB_PAGE 32779
#define ID_HELP_ABOUT 32780
#define ID_APP_EXIT 57665

// Framework commands that only the accelerators and the menu bar's image
// strip name; nothing handles them.
#define ID_FILE_NEW 57600
#define ID_FILE_OPEN 57601
#define ID_FILE_SAVE 57603
#define ID_FILE_PRINT 57607
#define ID_EDIT_COPY 57634
#define ID_EDIT_CUT 57635
#define ID_EDIT_PASTE 57637
#define ID_APP_ABOUT 57664
#define ID_NEXT_PANE 57680
#define ID_PREV_PANE 57681

// Labels and frames that the code never addresses.
#define IDC_STATIC (-1)

// Device view, dialog 129.
#define IDC_DEVICE_LIST 1000
#define IDC_DEVICE_GROUP 1001
#define IDC_SELECT_ALL 1002
#define IDC_FOUND_TEXT 1003
#define IDC_SELECT_ALL_TEXT 1004
#define IDC_GROUP_TITLE 1005

// Single-device IP change, dialog 215.
#define IDC_HTTP_PORT 1010
#define IDC_IP_MODE 1011
#define IDC_IP_ADDRESS 1012
#define IDC_SUBNET_MASK 1013
#define IDC_GATEWAY 1014
#define IDC_BASE_PORT 1015

// Multi-device IP change, dialog 216. The numbers overlap those of other
// dialogs on purpose: each template has its own numbering.
#define IDC_MULTI_IP_MODE 1005
#define IDC_MULTI_SERVER_COUNT 1010
#define IDC_MULTI_HTTP_PORT 1011
#define IDC_MULTI_START_IP 1016
#define IDC_MULTI_BASE_PORT 1017
#define IDC_MULTI_GATEWAY 1018
#define IDC_MULTI_SUBNET_MASK 1019

// IP change progress, dialog 218.
#define IDC_CHANGE_PROGRESS 1020
#define IDC_CHANGE_COUNTER 1021

// About box, dialog 100.
#define IDC_ABOUT_VERSION 1022

#endif  // QUELLAN_RES_RESOURCE_H_
