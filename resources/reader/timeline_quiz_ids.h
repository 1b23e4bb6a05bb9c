// Resource, command and control ids of the timeline and quiz screens.
#pragma once

// ---- Timeline screen ----
#define IDD_TIMELINE_FORM 4065
#define IDD_TIMELINE_SEARCH 4067
// Mode commands and their buttons.
#define ID_TL_PERIODS 5067
#define ID_TL_CATEGORIES 5068
#define ID_TL_BY_DATE 5069
#define ID_TL_REVIEW 5070
#define ID_TL_FIRSTS 5071
#define ID_TL_TODAY 5072
#define ID_TL_SMART 5061
#define ID_TL_BOOLEAN 5100
#define ID_TL_CONTENTS 5058
#define ID_TL_BOOKMARKS 5053
#define IDC_TL_PERIODS 2135
#define IDC_TL_CATEGORIES 2136
#define IDC_TL_BY_DATE 4185
#define IDC_TL_REVIEW 4192
#define IDC_TL_FIRSTS 4187
#define IDC_TL_TODAY 4188
#define IDC_TL_SMART 4210
#define IDC_TL_BOOLEAN 4211
#define IDC_TL_CONTENTS 4207
#define IDC_TL_BOOKMARKS 2048
// Other commands and buttons.
#define ID_TL_SAVE 5035
#define ID_TL_PRINT 5025
#define ID_TL_PREVIEW 5102
#define ID_TL_COPY_SELECTED 5011
#define ID_TL_COPY_EVENT 5010
#define ID_TL_ADD_ARTICLE 5008
#define ID_TL_ADD_SELECTED 5079
#define ID_TL_PRINT_BOOKMARKS 5103
#define ID_TL_PREVIEW_BOOKMARKS 5104
#define ID_TL_ANNOTATION 5065
#define ID_TL_HIGHLIGHT 5066
#define ID_TL_CLEAR_HIGHLIGHTS 5022
#define ID_TL_RELATED_EVENT 5085
#define ID_TL_RELATED_SELECTION 5018
// The Search History submenu: the newest stored query first.
#define ID_TL_HISTORY_FIRST 8500
#define ID_TL_HISTORY_LAST 8998
// The Bookmark menu's articles: 9000 + 10 x folder + item.
#define ID_TL_BOOKMARK_FIRST 9000
#define ID_TL_BOOKMARK_LAST 9498
#define ID_TL_CONSULTANTS 5080
#define ID_TL_HELP 57670
#define IDC_TL_PRINT 4212
#define IDC_TL_RELATED 4113
#define IDC_TL_BACK 4225
#define IDC_TL_HELP 4226
#define IDC_TL_PICTURE 4087
// Screen buttons (the quiz has them too).
#define IDC_SCREEN_BROWSER 6028
#define IDC_SCREEN_DICTIONARY 6030
#define IDC_SCREEN_QUIZ 6031
#define IDC_SCREEN_MEDIA 6032
#define IDC_SCREEN_TIMELINE 6033
// The search window's controls.
#define IDC_TLS_LIST 2148
#define IDC_TLS_FROM_YEAR 2142
#define IDC_TLS_FROM_ERA 2146
#define IDC_TLS_FROM_MONTH 2144
#define IDC_TLS_DAY 2173
#define IDC_TLS_TO_YEAR 2143
#define IDC_TLS_TO_ERA 2147
#define IDC_TLS_TO_MONTH 2145
#define IDC_TLS_FIND 2149
#define IDC_TLS_EVENTS 2141

// ---- Quiz screen ----
#define IDD_QUIZ_FORM 3006
#define IDD_GOTO_QUESTION 1254
#define IDC_GOTO_NUMBER 4182
#define ID_QZ_RESET_SCORE 5027
#define ID_QZ_SOUND 5030
#define ID_QZ_GOTO 5075
#define ID_QZ_RANDOM 5073
#define ID_QZ_SEQUENTIAL 5074
#define ID_QZ_ENGLISH 5099
#define ID_QZ_FRENCH 1
#define ID_QZ_ALL 9500
#define ID_QZ_CATEGORY_FIRST 9501
#define ID_QZ_CATEGORY_LAST 9999
#define ID_QZ_NEW_PICTURE 5028
#define ID_QZ_NUMBER_PIECES 5029
#define ID_QZ_CONSULTANTS 5080
#define ID_QZ_HELP 57670
#define IDC_QZ_CLUE 6000
#define IDC_QZ_HINT 6001
#define IDC_QZ_NEW_QUESTION 6002
#define IDC_QZ_SOLVE 6003
#define IDC_QZ_SCRAMBLE 6004
#define IDC_QZ_ANSWER_TEXT_FIRST 6005
#define IDC_QZ_TILE_FIRST 6011
#define IDC_QZ_TILE_LAST 6025
#define IDC_QZ_QUESTION 6026
#define IDC_QZ_HELP 6027
#define IDC_QZ_ANSWER_FIRST 6034
#define IDC_QZ_ANSWER_LAST 6039
#define IDC_QZ_CATEGORY_LINE 4184
#define IDC_QZ_THUMB_QUESTION 101

// Pictures: the quiz's score panel, its fallback puzzle picture, the right
// and wrong indicators and the Go To Question dialog's OK; the buttons of
// both screens from 7100.
#define IDB_QZ_SCORE_PANEL 4193
#define IDB_QZ_PUZZLE 1023
#define IDB_QZ_RIGHT 4190
#define IDB_QZ_WRONG 4191
#define IDB_GOTO_OK 1157
#define IDB_GOTO_CANCEL 1151
#define IDB_TQ_BUTTON_FIRST 7100
