/* Resource and command identifiers shared by the resource script and the code. */
#ifndef ZELMAR_RESOURCE_H
#define ZELMAR_RESOURCE_H

/* Strings */
#define IDS_VERSION            10
#define IDS_COPYRIGHT          11
#define IDS_SOUND_FILTER       10000
#define IDS_SOUND_TITLE        10001

/* Icon, bitmaps, menu */
#define IDI_ZELMAR             127
#define IDB_HOLIDAY_IMAGES     219
#define IDM_MAIN               210

/* Dialog templates */
#define IDD_DISPLAY_MONTH      204
#define IDD_SCHEDULE           205
#define IDD_DAY_CONTENTS       206
#define IDD_ABOUT              207
#define IDD_RECENT             208
#define IDD_SETTINGS           211
#define IDD_ALARM              212
#define IDD_REPEAT             213
#define IDD_OCCURRENCE         214
#define IDD_MESSAGE_BOX        20040
#define IDD_FONT               21000

/* Controls */
#define IDC_MSGBOX_DUMMY       10413
#define IDC_ABOUT_VERSION      133
#define IDC_ABOUT_TEXT         1000

/* Schedule dialog (IDD_SCHEDULE) */
#define IDC_SCHED_YEAR         124
#define IDC_SCHED_MONTH        119
#define IDC_SCHED_DAY          120
#define IDC_SCHED_HOUR         1011
#define IDC_SCHED_MINUTE       1013
#define IDC_SCHED_MEMO         112
#define IDC_SCHED_ALARM        1010
#define IDC_SCHED_BEFORE       1015
#define IDC_SCHED_BEFORE_LABEL 1016
#define IDC_SCHED_SOUND_ON     1017
#define IDC_SCHED_SOUND_LABEL  1019
#define IDC_SCHED_SOUND_FILE   1020
#define IDC_SCHED_BROWSE       1021
#define IDC_SCHED_TRY_SOUND    1022
#define IDC_SCHED_HOLIDAY      123
#define IDC_SCHED_SCRAMBLE     126
#define IDC_SCHED_LIST         110
#define IDC_SCHED_ADD          114
#define IDC_SCHED_CHANGE       125
#define IDC_SCHED_DELETE       113
#define IDC_SCHED_END_MONTH    1101
#define IDC_SCHED_END_DAY      1102
#define IDC_SCHED_END_HOUR     1103
#define IDC_SCHED_END_MINUTE   1104
#define IDC_SCHED_REPEAT       1105
#define IDC_SCHED_REPEAT_TEXT  1106
#define IDC_SCHED_LEAD_UNIT    1107
#define IDC_SCHED_DAY_ALARM    1108
#define IDC_SCHED_DAY_HOUR     1109
#define IDC_SCHED_DAY_MINUTE   1110
#define IDC_SCHED_DAY_LABEL    1111
#define IDC_SCHED_DAY_UNIT     1112

/* Repeat dialog 213 */
#define IDC_REP_NONE           1120
#define IDC_REP_DAILY          1121
#define IDC_REP_WEEKLY         1122
#define IDC_REP_MONTHLY        1123
#define IDC_REP_YEARLY         1124
#define IDC_REP_INTERVAL       1125
#define IDC_REP_UNIT           1126
#define IDC_REP_WEEKDAY0       1127  /* 1127..1133: Sunday..Saturday */
#define IDC_REP_BY_DATE        1134
#define IDC_REP_BY_WEEKDAY     1135
#define IDC_REP_MONTH_DAYS     1136
#define IDC_REP_LAST_DAY       1137
#define IDC_REP_NTH0           1138  /* 1138..1142: the 1st..4th and the last */
#define IDC_REP_END_NEVER      1143
#define IDC_REP_END_DATE       1144
#define IDC_REP_END_COUNT      1145
#define IDC_REP_UNTIL          1146
#define IDC_REP_COUNT          1147

/* Occurrence question 214 */
#define IDC_OCC_TEXT           1150
#define IDC_OCC_THIS_DAY       1151
#define IDC_OCC_ALL            1152

/* Alarm window (IDD_ALARM) */
#define IDC_ALARM_TEXT         1024
#define IDC_ALARM_STOP_SOUND   1025
#define IDC_ALARM_SNOOZE       1027

/* Font dialog (IDD_FONT): the ids the system's font dialog looks for */
#define IDC_FONT_APPLY         1026
#define IDC_FONT_HELP          1038
#define IDC_FONT_STRIKEOUT     1040
#define IDC_FONT_UNDERLINE     1041
#define IDC_FONT_EFFECTS       1072
#define IDC_FONT_SAMPLE_GROUP  1073
#define IDC_FONT_FACE_LABEL    1088
#define IDC_FONT_STYLE_LABEL   1089
#define IDC_FONT_SIZE_LABEL    1090
#define IDC_FONT_COLOR_LABEL   1091
#define IDC_FONT_SAMPLE        1092
#define IDC_FONT_SCRIPT_LABEL  1094
#define IDC_FONT_FACE          1136
#define IDC_FONT_STYLE         1137
#define IDC_FONT_SIZE          1138
#define IDC_FONT_COLOR         1139
#define IDC_FONT_SCRIPT        1140
#define IDC_FONT_CORNER        243

/* Display month (IDD_DISPLAY_MONTH) */
#define IDC_DM_YEAR            101
#define IDC_DM_YEAR_UP         102
#define IDC_DM_YEAR_DOWN       103
#define IDC_DM_MONTH           104
#define IDC_DM_MONTH_UP        105
#define IDC_DM_MONTH_DOWN      106
#define IDC_DM_RESET           121

/* Day contents (IDD_DAY_CONTENTS) */
#define IDC_DAY_HEADER         126
#define IDC_DAY_LIST           128
#define IDC_DAY_SCHEDULE       129

/* Recent schedule (IDD_RECENT) */
#define IDC_RECENT_LIST        110
#define IDC_RECENT_HEADER      111
#define IDC_RECENT_BOOT        138
#define IDC_RECENT_WIDTH       139

/* Settings dialog (IDD_SETTINGS) */
#define IDC_SET_SAT_COLOUR        1003
#define IDC_SET_SAT_PLAIN         1004
#define IDC_SET_TODAY_BOX         1005
#define IDC_SET_TODAY_TICK        1006
#define IDC_SET_MONTH_JAPANESE    1007
#define IDC_SET_MONTH_ENGLISH     1008
#define IDC_SET_WEEK_JAPANESE     1009
#define IDC_SET_WEEK_ENGLISH      1010
#define IDC_SET_CLOCK             144
#define IDC_SET_CLOCK_12H         145
#define IDC_SET_CLOCK_AMPM_AFTER  146
#define IDC_SET_CLOCK_ANALOG      147
#define IDC_SET_CLOCK_SECONDS     148
#define IDC_SET_BACK_IMAGE        1029
#define IDC_SET_BACK_FILE         1030
#define IDC_SET_BACK_BROWSE       1031
#define IDC_SET_BACK_TRANSPARENT  1032
#define IDC_SET_BACK_AREA         1033
#define IDC_SET_BACK_WHOLE        1034
#define IDC_SET_BACK_RIGHT        1035
#define IDC_SET_BACK_BOTTOM       1036
#define IDC_SET_BACK_FILE_LABEL   1037
#define IDC_SET_TRANSPARENT_LABEL 1038
#define IDC_SET_TRANSPARENT_UNIT  1039
#define IDC_SET_AREA_LABEL        1040
#define IDC_SET_AREA_UNIT         1041
#define IDC_SET_APPLY             3

/* Menu commands (IDM_MAIN) */
#define CMD_RECENT             137
#define CMD_DISPLAY_MONTH      131
#define CMD_SCHEDULE           107
#define CMD_FONT               205
#define CMD_ALWAYS_ON_TOP      143
#define CMD_NO_TITLE_BAR       146
#define CMD_DETAILED_SETTINGS  40002
#define CMD_NATIONAL_HOLIDAYS  40003  /* put in after CMD_NO_TITLE_BAR at run time, its text in texts.h */
#define CMD_ICS_EXPORT         40004  /* these two after CMD_DETAILED_SETTINGS at run time, texts in texts.h */
#define CMD_ICS_IMPORT         40005
#define CMD_ROKUYO             40010  /* these three after CMD_NATIONAL_HOLIDAYS at run time, texts in texts.h */
#define CMD_KYUREKI            40011
#define CMD_WAREKI             40012
#define CMD_DAY_SHAPES         40013  /* put in after CMD_WAREKI at run time, its text in texts.h */
#define CMD_RESET_MONTH        121
#define CMD_RESTORE_POSITION   136
#define CMD_SAVE_POSITION      122
#define CMD_HIDE_SHOW          141
#define CMD_CLOSE_MENU         132
#define CMD_ABOUT              130
#define CMD_EXIT               109

/* Internal commands */
#define CMD_APPLY_SETTINGS     3
#define CMD_BRING_TO_FRONT     202
#define CMD_SHOW_ALARM         207
#define CMD_SOUND_STOPPED      208

/* Calendar sync: the settings dialog (IDD_SYNC) and the menu commands, put in at run time
   (texts in texts.h): CMD_SYNC_SETTINGS after CMD_ICS_IMPORT, CMD_SYNC_NOW after CMD_RESET_MONTH */
#define IDD_SYNC               230
#define IDC_SYNC_ADDRESS       2301
#define IDC_SYNC_USER          2302
#define IDC_SYNC_PASSWORD      2303
#define IDC_SYNC_FIND          2304
#define IDC_SYNC_STATUS        2305
#define IDC_SYNC_CALENDARS     2306
#define IDC_SYNC_ENABLED       2307
#define IDC_SYNC_INTERVAL      2308
#define CMD_SYNC_SETTINGS      40030
#define CMD_SYNC_NOW           40031
/* Calendar subscriptions: the command, inserted after CMD_ICS_IMPORT at run time with its
   text in texts.h, and the dialog (IDD_FEEDS) */
#define CMD_SUBSCRIPTIONS      40032
#define IDD_FEEDS              231
#define IDC_FEED_LIST          1201
#define IDC_FEED_URL           1202
#define IDC_FEED_NAME          1203
#define IDC_FEED_ON            1204
#define IDC_FEED_ADD           1205
#define IDC_FEED_CHANGE        1206
#define IDC_FEED_REMOVE        1207

#endif
