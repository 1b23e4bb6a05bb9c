// Resource, command and control ids of the reader program. Plain #defines,
// so the .rc script includes this header too.
#pragma once

// Document templates: menu, icon and document string of each screen.
#define IDR_BROWSER 901
#define IDR_DICTIONARY 902
#define IDR_QUIZ 903
#define IDR_TIMELINE 904
#define IDR_MEDIA 905
#define IDR_HOME 906

// The program's icon (dialogs take it as their class icon).
#define IDI_VELDRIX 900

// Dialog templates.
#define IDD_PREFERENCES 1161
#define IDD_ABOUT 1170
#define IDD_LOADING 1283

// Data resources: NUL-separated stop words and abbreviations, and the phrase
// tables of packed media records.
#define IDR_STOP_WORDS 6666
#define IDR_ABBREVIATIONS 6667
#define IDR_MEDIA_PHRASES 6668

// The background picture, whose colours are the application palette.
#define IDB_BACKGROUND 4000

// Commands of the main frame.
#define ID_SHOW_BROWSER 1163
#define ID_SHOW_DICTIONARY 1114
#define ID_SHOW_QUIZ 1113
#define ID_SHOW_TIMELINE 1164
#define ID_SHOW_MEDIA 5059
#define ID_GO_HOME 5001
#define ID_PREFERENCES 5002
#define ID_SHOW_BACKGROUND 5110
#define ID_INTERNET_UPDATES 5111
#define ID_NEXT_SCREEN 30994
#define ID_PREVIOUS_SCREEN 5112

// Controls of the Preferences dialog.
#define IDC_PREF_SAVE_ON_EXIT 2117
#define IDC_PREF_SHOW_INTRO 2118
#define IDC_PREF_DISPLAY_PICTURES 2119
#define IDC_PREF_SLIDE_DELAY 2120
#define IDC_PREF_FONT_NAME 123
#define IDC_PREF_FONT_SIZE 124
#define IDC_PREF_HIGHLIGHT 125
#define IDC_PREF_SEARCH 126
#define IDC_PREF_CROSS_REF 127
#define IDC_PREF_OK 4236
#define IDC_PREF_APPLY 1268
#define IDC_PREF_CANCEL 4234
// Their button strips carry the same numbers.
#define IDB_PREF_OK 4236
#define IDB_PREF_APPLY 1268
#define IDB_PREF_CANCEL 4234
