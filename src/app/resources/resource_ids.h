// Resource ids of Brevolt.exe.
#pragma once

#define IDI_BREVOLT 1
#define IDI_TAB_STATUS 11
#define IDI_TAB_SETTINGS 12
#define IDI_TAB_HISTORY 13
#define IDI_TAB_ABOUT 14
#define IDI_HISTORY_ROW 20
#define IDI_TOOL_CLEAR 21
#define IDI_TOOL_SAVE 22
#define IDB_BANNER 30
#define IDB_GROUP_GENERAL 31
#define IDB_GROUP_SPEED 32
#define IDB_GROUP_HISTORY 33
#define IDB_ABOUT 34
#define IDC_LINK_HAND 40
#define IDD_NEVER_LIST 50
#define IDC_NEVER_LABEL 51
#define IDC_NEVER_RULES 52
#define IDC_NEVER_TOGGLE 53
