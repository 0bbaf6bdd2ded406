// Resource and command ids.  Plain #defines so the resource compiler and
// the portable core can both include this header.
//
// The numbers are the program's own and must not change: menu commands,
// dialog identities and control ids are stored nowhere, but the calendar
// program and the documentation refer to them.  Control ids are reused
// across dialogs (1008 is the status text, the OK button of the calendar
// entry dialog and an info command), so controls are named per dialog.
#pragma once

// ---- Menus and accelerators -------------------------------------------------
#define IDR_MENU_GERMAN       104
#define IDR_MENU              105
#define IDR_ACCELERATORS      106

// ---- Icons ------------------------------------------------------------------
#define IDI_LARGE             102
#define IDI_SMALL             103

// ---- Cursors ----------------------------------------------------------------
#define IDC_HAND_CURSOR       150   // held button over a list, link in the Data view
#define IDC_MOVE_CURSOR       151   // moving a view by its caption strip

// ---- Bitmaps ----------------------------------------------------------------
#define IDB_CALENDAR1         108   // toolbar buttons
#define IDB_CALENDAR2         109
#define IDB_CALENDAR3         110
#define IDB_CALENDAR4         111
#define IDB_ANALOGCLOCK       112
#define IDB_ALARMWINDOW       113
#define IDB_INFO_DE           115   // info box picture, German twin
#define IDB_INFO              116   // info box picture
#define IDB_SEARCH_DOWNWRAP   135   // search directions, 32 x 15
#define IDB_SEARCH_UPWRAP     136
#define IDB_SEARCH_DOWN       137
#define IDB_SEARCH_UP         138
#define IDB_LOGO              154   // logo strip of the toolbar
#define IDB_TOOLBAR_PATTERN   159   // 8 x 8 brush pattern behind the toolbar
#define IDB_CALENDARENTRY     161   // toolbar buttons
#define IDB_CALENDARSEARCH    162
#define IDB_ADDRESSFIELD      165

// ---- Dialog templates (English, then the German twin = dialog identity) ----
#define IDD_TOOLBAR           115
#define IDD_STATUSBAR         124
#define IDD_BLOCKQUESTION     130
#define IDD_BLOCKQUESTION_DE  129
#define IDD_SEARCH            142
#define IDD_SEARCH_DE         143
#define IDD_REPLACE           144
#define IDD_REPLACE_DE        141
#define IDD_COLOURS           152
#define IDD_COLOURS_DE        2151
#define IDD_PREDEFINITIONS    154
#define IDD_PREDEFINITIONS_DE 153
#define IDD_GENERALCONFIG     155
#define IDD_GENERALCONFIG_DE  147
#define IDD_CALENDARENTRY     157
#define IDD_CALENDARENTRY_DE  156
#define IDD_CALENDARSEARCH    159
#define IDD_CALENDARSEARCH_DE 158
#define IDD_INFO              160
#define IDD_INFO_DE           128
#define IDD_PRINT             2153  // English twin, never opened
#define IDD_PRINT_DE          2152  // the print settings open this one
#define IDD_OPENPASSWORD      2156
#define IDD_OPENPASSWORD_DE   2154
#define IDD_ADDPASSWORD       2157
#define IDD_ADDPASSWORD_DE    166
#define IDD_SETPASSWORD       2158
#define IDD_SETPASSWORD_DE    2155
#define IDD_SYNCSETTINGS      2161
#define IDD_SYNCSETTINGS_DE   2160
#define IDD_SYNCPASSWORD      2163
#define IDD_SYNCPASSWORD_DE   2162

// ---- Menu, accelerator and toolbar commands: File ---------------------------
#define IDM_OPEN              40015
#define IDM_SAVE              40016
#define IDM_SAVEAS            40017
#define IDM_NEW               40018
#define IDM_ADD               40019
#define IDM_DATACHECK         40020
#define IDM_IMPORTCONTACTS    40121
#define IDM_EXPORTCONTACTS    40122
#define IDM_PRINT             40035
#define IDM_PASSWORD          40111
#define IDM_SYNC              40123
#define IDM_SYNCSETTINGS      40124
#define IDM_RECENT0           40101  // recent files: IDM_RECENT0 + slot
#define IDM_RECENT1           40102
#define IDM_RECENT2           40103
#define IDM_RECENT3           40104
#define IDM_RECENT4           40105
#define IDM_RECENT5           40106
#define IDM_RECENT6           40107
#define IDM_RECENT7           40108
#define IDM_RECENT8           40109
#define IDM_RECENT9           40110

// ---- Edit commands ----------------------------------------------------------
#define IDM_COPY              40078
#define IDM_PASTE             40079
#define IDM_CUT               40080
#define IDM_UNDO              40089
#define IDM_SELECTALL         40091
#define IDM_SEARCH            40028
#define IDM_REPEATSEARCH      40029
#define IDM_REPLACE           40030
#define IDM_REPEATREPLACE     40031
#define IDM_NEWENTRY          40007

// ---- Special: the calendar program ------------------------------------------
#define IDM_CALENDARENTRY     40001
#define IDM_CALENDARSEARCH    40012
#define IDM_ADDRESSFIELD      40013

// ---- Configuration ----------------------------------------------------------
#define IDM_COLOURS           40057
#define IDM_GENERALCONFIG     40060
#define IDM_PREDEFINITIONS    40061
#define IDM_SAVECONFIG        40063
#define IDM_FONT_DATAVIEW     40064
#define IDM_FONT_OVERVIEW     40065

// ---- Calendar buttons (toolbar, menu "Window", system menu) -------------
#define IDM_CALENDAR1         1216
#define IDM_CALENDAR2         1217
#define IDM_CALENDAR3         1218
#define IDM_CALENDAR4         1219
#define IDM_QUIT              1220
#define IDM_ANALOGCLOCK       40006
#define IDM_ALARMWINDOW       40041

// ---- Window arrangement and views -------------------------------------------
#define IDM_SIDEBYSIDE        40002
#define IDM_ONEUPONOTHER      40003
#define IDM_ROTATE            40011

// ---- Help and info (1007: menu, accelerator and the toolbar logo) -----------
#define IDM_HELP              40005
#define IDM_INFO              1007
#define IDM_INFO_2            1008
#define IDM_INFO_3            1009

// ---- Text pre-definitions: Shift+F1..F10 and Alt+F --------------------------
#define IDM_PREDEF1           1091
#define IDM_PREDEF2           1092
#define IDM_PREDEF3           1093
#define IDM_PREDEF4           1095
#define IDM_PREDEF5           1097
#define IDM_PREDEF6           1099
#define IDM_PREDEF7           1101
#define IDM_PREDEF8           1103
#define IDM_PREDEF9           1105
#define IDM_PREDEF10          1107
#define IDM_FILESELECTOR      40085

// ---- Controls: toolbar (buttons carry their IDM_ command) and status bar ----
#define IDC_TOOLBAR_LOGO      1007
#define IDC_STATUS_TEXT       1008

// ---- Controls: block question -----------------------------------------------
#define IDC_BLOCK_BLOCK       1027
#define IDC_BLOCK_ALL         1029

// ---- Controls: search and replace -------------------------------------------
#define IDC_FIND_TEXT         1082
#define IDC_FIND_REPLACEWITH  1083
#define IDC_FIND_UP           1059   // direction 0
#define IDC_FIND_DOWN         1060   // direction 1
#define IDC_FIND_UPWRAP       1061   // direction 2
#define IDC_FIND_DOWNWRAP     1062   // direction 3
#define IDC_FIND_MATCHCASE    1077
#define IDC_FIND_OK           1000
#define IDC_REPLACE_ALL       1227
#define IDC_REPLACE_OK        1086

// ---- Controls: colours ------------------------------------------------------
#define IDC_COLOUR_DATABACK      1158
#define IDC_COLOUR_DATAHEADBACK  1159
#define IDC_COLOUR_DATATEXT      1160
#define IDC_COLOUR_DATAHEADTEXT  1161
#define IDC_COLOUR_LINK          1162
#define IDC_COLOUR_OVERVIEWBACK  1001
#define IDC_COLOUR_OVERVIEWTEXT  1002
#define IDC_COLOUR_OK            1156

// ---- Controls: text pre-definitions (also in the calendar entry dialog) -----
#define IDC_PREDEF_RADIO1     1089
#define IDC_PREDEF_RADIO2     1090
#define IDC_PREDEF_RADIO3     1094
#define IDC_PREDEF_RADIO4     1096
#define IDC_PREDEF_RADIO5     1098
#define IDC_PREDEF_RADIO6     1100
#define IDC_PREDEF_RADIO7     1102
#define IDC_PREDEF_RADIO8     1104
#define IDC_PREDEF_RADIO9     1106
#define IDC_PREDEF_RADIO10    1108
#define IDC_PREDEF_EDIT1      1091
#define IDC_PREDEF_EDIT2      1092
#define IDC_PREDEF_EDIT3      1093
#define IDC_PREDEF_EDIT4      1095
#define IDC_PREDEF_EDIT5      1097
#define IDC_PREDEF_EDIT6      1099
#define IDC_PREDEF_EDIT7      1101
#define IDC_PREDEF_EDIT8      1103
#define IDC_PREDEF_EDIT9      1105
#define IDC_PREDEF_EDIT10     1107
#define IDC_PREDEF_OK         40087
#define IDC_PREDEF_SET        40083
#define IDC_PREDEF_FILESELECTOR 40085

// ---- Controls: general configuration ----------------------------------------
#define IDC_GC_SEPARATOR1     1014
#define IDC_GC_SEPARATOR2     1015
#define IDC_GC_SEPARATOR3     1016
#define IDC_GC_SEPARATOR4     1018
#define IDC_GC_SEPARATOR5     1019
#define IDC_GC_ORDER1         1020
#define IDC_GC_ORDER2         1021
#define IDC_GC_ORDER3         1022
#define IDC_GC_ORDER4         1023
#define IDC_GC_ORDER5         1024
#define IDC_GC_EMPTYLINE1     1030   // behind output line 1
#define IDC_GC_EMPTYLINE2     1026
#define IDC_GC_EMPTYLINE3     1031
#define IDC_GC_EMPTYLINE4     1028
#define IDC_GC_SWAPNAMES      1017
#define IDC_GC_AUTOSAVEDATA   1168
#define IDC_GC_AUTOSAVECONFIG 1169
#define IDC_GC_OK             1178

// ---- Controls: calendar entry and calendar search ---------------------------
#define IDC_CALENTRY_TEXT     1003
#define IDC_CALENTRY_CAL1     1004
#define IDC_CALENTRY_CAL2     1005
#define IDC_CALENTRY_CAL3     1006
#define IDC_CALENTRY_CAL4     1007
#define IDC_CALENTRY_PREDEF   1228
#define IDC_CALENTRY_DATE     1053
#define IDC_CALENTRY_TIME     1052
#define IDC_CALENTRY_OK       1008
#define IDC_CALSEARCH_TEXT    1082
#define IDC_CALSEARCH_CAL1    1009
#define IDC_CALSEARCH_CAL2    1010
#define IDC_CALSEARCH_CAL3    1011
#define IDC_CALSEARCH_CAL4    1012
#define IDC_CALSEARCH_OK      1013

// ---- Controls: password dialogs ---------------------------------------------
#define IDC_SETPW_PASSWORD    1230
#define IDC_SETPW_REPEAT      1229
#define IDC_SETPW_OK          1231
#define IDC_OPENPW_PASSWORD   1233
#define IDC_OPENPW_OK         1232
#define IDC_ADDPW_PASSWORD    1235
#define IDC_ADDPW_OK          1234

// ---- Controls: synchronisation settings and server password --------------
#define IDC_SYNC_URL          1240
#define IDC_SYNC_USER         1241
#define IDC_SYNC_PASSWORD     1242
#define IDC_SYNC_REMEMBER     1243
#define IDC_SYNC_OK           1244
#define IDC_SYNCPW_ACCOUNT    1245
#define IDC_SYNCPW_PASSWORD   1246
#define IDC_SYNCPW_REMEMBER   1247
#define IDC_SYNCPW_OK         1248

// ---- Controls: print settings -----------------------------------------------
#define IDC_PRINT_LEFTBORDER  1214
#define IDC_PRINT_TOPBORDER   1213
#define IDC_PRINT_HEADLINE    12192
#define IDC_PRINT_OK          1215

// ---- Controls: info box -----------------------------------------------------
#define IDC_INFO_VERSION      1025
#define IDC_INFO_PICTURE      1026
