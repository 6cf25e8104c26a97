// Resource and control ids, shared by the resource script and the code.
#pragma once

#define IDI_ALMANAC 128

// Dialog templates.
#define IDD_MAIN 102
#define IDD_EXIT_PROMPT 139
#define IDD_NOTE_ENTRY 242
#define IDD_DAY_POPUP 243
#define IDD_MEMO_PAD 255
#define IDD_MEMO_TAB 256
#define IDD_WEEKLY_NOTE 258

// Main window: the selectors from the template, and the controls made in code.
#define IDC_YEAR_SELECTOR 1034
#define IDC_MONTH_SELECTOR 1035
#define IDC_PREVIOUS_MONTH 1044
#define IDC_NEXT_MONTH 1045
#define IDC_BACK_TO_TODAY 105
#define IDC_CLOSE 1058
#define IDC_MONTH_GRID 107
#define IDC_REMOTE_LINK 1053

// Month grid: the site link on its strip.
#define IDC_SITE_LINK 1052

// Exit prompt.
#define IDC_END_PROGRAM 1000
#define IDC_UNINSTALL 1025

// Note entry dialog.
#define IDC_ONE_OFF_NOTE 1029
#define IDC_GREGORIAN_NOTE 1030
#define IDC_LUNAR_NOTE 1031
#define IDC_NOTE_HEADER 1032
#define IDC_GREGORIAN_LABEL 1038
#define IDC_LUNAR_LABEL 1039
#define IDC_ONE_OFF_COLOUR 1049
#define IDC_GREGORIAN_COLOUR 1050
#define IDC_LUNAR_COLOUR 1051

// Weekly reminder dialog.
#define IDC_WEEKLY_NOTE 1049
#define IDC_WEEKLY_COLOUR 1056

// Memo pad and memo tab.
#define IDC_MEMO_TEXT 1047
#define IDC_HIDE_MEMO 1048
#define IDC_SHOW_MEMO 1000
#define IDC_MEMO_TITLE 1059
