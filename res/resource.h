/* Resource ids of Memorion. Numbers are fixed: stored templates and
   command ids are shared between menus, context menus and dialogs. */
#pragma once

/* Resources */
#define IDR_MAINMENU                6
/* The keys of the main window's menu commands */
#define IDR_ACCELERATORS            100
#define IDI_MEMORION                51

/* The About box picture; black is its transparent colour */
#define IDB_ABOUT_PICTURE           75

/* Main menu and context menu commands */
#define IDM_NEW_FILE                7
#define IDM_OPEN_FILE               8
#define IDM_SAVE                    9
#define IDM_SAVE_AS                 10
#define IDM_VIEW_CODE               11
#define IDM_EXIT                    12
#define IDM_ADD_ENTRY               13
#define IDM_DELETE_ENTRIES          14
#define IDM_SET_TOPIC               15
#define IDM_PERSONALITY_FOLDER      16
#define IDM_ABOUT                   17
#define IDM_MOVE_TO_CATEGORY        18
#define IDM_DELETE_CATEGORY         23
#define IDM_NEW_CATEGORY            24
#define IDM_VIEW_CODE_NOTEPAD       31
#define IDM_RENAME_CATEGORY         60
#define IDM_OPEN_FOLDER             80
#define IDM_FIND_ENTRIES            101
#define IDM_FIND_NEXT               102
#define IDM_EXPORT_WEB_PAGE         103
#define IDM_UNDO                    104
#define IDM_REDO                    105
#define IDM_IMPORT_FAMILY_TREE      106
#define IDM_EXPORT_FAMILY_TREE      107

/* Main window children */
#define IDC_MAIN_LIST               2
#define IDC_MAIN_STATUS             3
#define IDC_MAIN_TABS               4
#define IDC_MAIN_TOPIC              5

/* Category dialogs; their controls are made in code. The new-category
   and rename dialogs share one set of controls. */
#define IDD_MOVE_TO_CATEGORY        19
#define IDD_NEW_CATEGORY            25
#define IDD_RENAME_CATEGORY         61
#define IDC_MOVE_LIST               20
#define IDC_MOVE_PROCEED            21
#define IDC_MOVE_CANCEL             22
#define IDC_CATEGORY_NAME           26
#define IDC_CATEGORY_APPLY          27
#define IDC_CATEGORY_CANCEL         28
#define IDC_CATEGORY_FRAME          29

/* The category tabs' context menu; renaming uses IDM_RENAME_CATEGORY */
#define IDM_TAB_DELETE              30
#define IDM_TAB_ADD                 32
#define IDM_TAB_MOVE_LEFT           49
#define IDM_TAB_MOVE_RIGHT          50

/* Set topic dialog; the topic box is made in code */
#define IDD_SET_TOPIC               59
#define IDC_TOPIC_OK                36
#define IDC_TOPIC_CANCEL            37
#define IDC_TOPIC_TEXT              39

/* Dialog templates */
#define IDD_NEW_FILE                52

#define IDD_ABOUT                   63
#define IDD_PERSONALITY_FOLDER      64

/* New biography file dialog */
#define IDC_NEW_FILE_TOPIC          53
#define IDC_NEW_FILE_FILENAME       54
#define IDC_NEW_FILE_BROWSE         55
#define IDC_NEW_FILE_OK             56
#define IDC_NEW_FILE_CANCEL         57
#define IDC_NEW_FILE_TEMPLATES      58

/* Personality folder dialog; the check boxes are made in code, and each
   box's text is the name of the subfolder it creates */
#define IDC_PERSONALITY_LABEL       29
#define IDC_PERSONALITY_NAME        65
#define IDC_PERSONALITY_NEXT        66
#define IDC_PERSONALITY_BIOGRAPHY   67
#define IDC_PERSONALITY_IMAGE       68
#define IDC_PERSONALITY_AUDIO       69
#define IDC_PERSONALITY_VIDEO       70
#define IDC_PERSONALITY_TEXT        71
#define IDC_PERSONALITY_OTHER       72
#define IDC_PERSONALITY_LOGS        73

/* About dialog; the link is made in code */
#define IDC_ABOUT_OK                62
#define IDC_ABOUT_LINK              79

/* Entry editor and its field dialogs; the text areas are made in code.
   The six field dialogs share their control ids. */
#define IDD_ENTRY_EDITOR            33
#define IDC_EDITOR_TEXT             35
#define IDC_FIELD_OK                36
#define IDC_FIELD_CANCEL            37
#define IDD_FIELD_TITLE             38
#define IDC_FIELD_EDIT              39
#define IDD_FIELD_ENTRY_DATE        40
#define IDD_FIELD_TIME_PERIOD       41
#define IDD_FIELD_LOCATION          42
#define IDD_FIELD_DETAIL            43
#define IDD_FIELD_KEYWORDS          44

/* Associated files dialog; the list and its menu are made in code */
#define IDC_FILES_LIST              45
#define IDD_ASSOCIATED_FILES        46
#define IDM_ADD_FILE                47
#define IDM_REMOVE_FILE             48

/* Find entries dialog; Find next and Close are IDOK and IDCANCEL */
#define IDD_FIND_ENTRIES            103
#define IDC_FIND_LABEL              104
#define IDC_FIND_TEXT               105
#define IDC_FIND_MATCH_CASE         106

/* Import from family tree: the person to import; the list is made in
   code, Import and Cancel are IDOK and IDCANCEL */
#define IDD_CHOOSE_PERSON           330
#define IDC_PERSON_FIND_LABEL       331
#define IDC_PERSON_FIND             332
#define IDC_PERSON_LIST             333
