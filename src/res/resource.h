// Identifiers of the program's resources and commands, shared by the resource
// script and the code.
#pragma once

// Icons
#define IDI_PINVEL 128

// Bitmaps
#define IDB_BANNER 213

// Caption buttons: normal, hover and pressed bitmaps of each command.
#define IDB_NEW_NORMAL 141
#define IDB_NEW_PRESSED 142
#define IDB_NEW_HOVER 143
#define IDB_HIDE_PRESSED 193
#define IDB_HIDE_NORMAL 194
#define IDB_HIDE_HOVER 195
#define IDB_DELETE_HOVER 196
#define IDB_DELETE_NORMAL 197
#define IDB_DELETE_PRESSED 198
#define IDB_ALARMS_PRESSED 199
#define IDB_ALARMS_NORMAL 200
#define IDB_ALARMS_HOVER 201
#define IDB_LOOK_NORMAL 202
#define IDB_LOOK_HOVER 203
#define IDB_LOOK_PRESSED 204
#define IDB_ROLL_PRESSED 216
#define IDB_ROLL_NORMAL 217
#define IDB_ROLL_HOVER 218

// Icons of the tray, the menus and the dialogs
#define IDI_SOUND 140
#define IDI_TRAY 147
#define IDI_FIND 148
#define IDI_APPEARANCE 150
#define IDI_DROP_ARROW 152
#define IDI_CHANGE_TITLE 157
#define IDI_ALARMS 159
#define IDI_UNDO 164
#define IDI_CUT 165
#define IDI_DELETE 166
#define IDI_PASTE 167
#define IDI_REDO 168
#define IDI_COPY 169
#define IDI_FIND_NEXT 170
#define IDI_FIND_PREV 171
#define IDI_TEXT_FONT 172
#define IDI_HIDE_NOTE 174
#define IDI_DELETE_NOTE 175
#define IDI_MAIL_NOTE 176
#define IDI_EXPORT_NOTE 177
#define IDI_IMPORT_NOTE 178
#define IDI_TEXT_COLOR 179
#define IDI_HELP 181
#define IDI_ABOUT 183
#define IDI_EXIT 184
#define IDI_SHOW_ALL 185
#define IDI_HIDE_ALL 186
#define IDI_CHECK_MARK 187
#define IDI_ABOUT_BOX 209
#define IDI_HOME_PAGE 210
#define IDI_ROLL 215
#define IDB_LOGO 208

// The alarm sound (a WAVE resource)
#define IDW_ALARM 158

// Menus
#define IDM_NOTE_CONTEXT 143
#define IDM_TRAY 146

// Dialogs
#define IDD_ABOUT 100
#define IDD_ALARM_GENERAL 133
#define IDD_ALARM_DAILY 134
#define IDD_ALARM_MONTHLY 135
#define IDD_ALARM_YEARLY 136
#define IDD_ALARM_WEEKLY 137
#define IDD_FIND 144
#define IDD_CHANGE_TITLE 155
#define IDD_ALREADY_RUNNING 211

// Dialog controls
#define IDC_FIND_UP 1004
#define IDC_FIND_DOWN 1005
#define IDC_FIND_WHOLE_WORD 1017
#define IDC_FIND_MATCH_CASE 1027
#define IDC_FIND_TEXT 1117
#define IDC_TITLE_EDIT 1127
#define IDC_ABOUT_NOTICE 1137
#define IDC_ABOUT_VERSION 1140

// String table
#define IDS_PRODUCT 2000
#define IDS_CREDIT 2001
#define IDS_HELP_FILE 2003
#define IDS_NOTE_EXT 2004
#define IDS_NOTES_FOLDER 2005
#define IDS_MAIL_NO_LIBRARY 2006
#define IDS_MAIL_BAD_LIBRARY 2007
#define IDS_MAIL_FAILED 2008
#define IDS_FIND_NOT_FOUND 2100
#define IDS_DEFAULT_TITLE 2200
#define IDS_TRAY_TIP 2300
#define IDS_ABOUT_NOTICE 2600
#define IDS_WEEKDAY_BASE 8000
#define IDS_MONTH_BASE 8100
#define IDS_DAY_BASE 8200

// Fatal start-up errors: each code is also the string with its message.
#define ERR_BEGIN 20000
#define ERR_SUCCESS 20001
#define ERR_LOAD_RICHEDIT 20002
#define ERR_CREATE_RICHEDIT 20003
#define ERR_CREATE_NOTE_WND 20004
#define ERR_CREATE_LOGIC_WND 20005
#define ERR_CREATE_DUMMY_WND 20006
#define ERR_CREATE_TRAY_WND 20007
#define ERR_END 29999

// Commands (menus, caption buttons, keys); each has a tooltip string of the same id.
#define ID_NOTE_HIDE 32771
#define ID_NOTE_DELETE 32772
#define ID_NOTE_ALARMS 32773
#define ID_NOTE_TITLE 32776
#define ID_NOTE_MAIL 32777
#define ID_EDIT_UNDO 32780
#define ID_EDIT_CUT 32781
#define ID_EDIT_PASTE 32782
#define ID_EDIT_SELECT_ALL 32783
#define ID_EDIT_COPY 32784
#define ID_EDIT_CLEAR 32785
#define ID_EDIT_FIND 32786
#define ID_TRAY_SHOW_ALL 32791
#define ID_TRAY_HIDE_ALL 32792
#define ID_TRAY_HELP 32793
#define ID_TRAY_ABOUT 32794
#define ID_TRAY_EXIT 32795
#define ID_NOTE_NEW 32797
#define ID_TRAY_NO_NOTES 32802
#define ID_EDIT_FIND_NEXT 32803
#define ID_EDIT_FIND_PREV 32804
#define ID_NOTE_APPEARANCE 32805
#define ID_NOTE_IMPORT 32806
#define ID_NOTE_EXPORT 32807
#define ID_TEXT_FONT 32809
#define ID_TEXT_COLOR 32810
#define ID_EDIT_REDO 32811
#define ID_TRAY_HOME_PAGE 32818
#define ID_NOTE_ROLL 32820
