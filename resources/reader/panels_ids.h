// Templates and control ids of the encyclopedia's tool windows and the
// folder dialogs. Plain #defines, so panels.rc includes this header too.
#pragma once

// Templates.
#define IDD_BOOKMARK_LIST 1085
#define IDD_BOOKMARK_LIST_POPUP 4075  // the media gallery's, a bordered pop-up
#define IDD_WORD_FIND 3009
#define IDD_ARTICLE_LIST 1115
#define IDD_OUTLINE 4064
#define IDD_FOLDER_CHOOSER 1265
#define IDD_FOLDER_NAME 1266

// The bookmark list.
#define IDC_BOOKMARK_CLOSE 1083
#define IDC_FOLDER_LIST 4200
#define IDC_NEW_FOLDER 3
#define IDC_RENAME_FOLDER 4
#define IDC_DELETE_FOLDER 4204
#define IDC_PRINT_FOLDER 4206
#define IDC_PREVIEW_FOLDER 4207
#define IDC_FOLDER_ARTICLES 4205
#define IDC_DELETE_ARTICLE 4203
#define IDC_BOOKMARK_HELP 2022

// The folder name dialog.
#define IDC_FOLDER_NAME 4201

// The word find window.
#define IDC_FIND_CLOSE 1083
#define IDC_FIND_TEXT 2059
#define IDC_FIND 2164
#define IDC_MATCH_CASE 2086
#define IDC_WHOLE_WORD 2085

// The article list panel.
#define IDC_LIST_CLOSE 1083
#define IDC_ARTICLES 2062

// The outline panel.
#define IDC_OUTLINE_CLOSE 2013
#define IDC_OUTLINE_TREE 101

// The help topic of the bookmark list.
#define HELP_BOOKMARK_LIST 158
