// Identifiers shared by the resource script and the code, grouped by kind.
#pragma once

// Menu commands: settings
#define CMD_SNAP_TO_SCREEN 100
#define CMD_ALWAYS_ON_TOP 101
#define CMD_SYSTEM_TRAY 102
#define CMD_SINGLE_INSTANCE 103
#define CMD_TOOL_TIPS 104

// Menu commands: window
#define CMD_MINIMIZE 110
#define CMD_CLOSE 112
#define CMD_ABOUT 113

// Menu commands: skins and splash
#define CMD_DEFAULT_SKIN 200
#define CMD_USER_SKIN 201
#define CMD_SPLASH_SCREEN 202

// Keyboard-only commands and the edit menu
#define CMD_LESS_WHITE 300
#define CMD_MORE_WHITE 301
#define CMD_COPY 310
#define CMD_CUT 311
#define CMD_PASTE 312
#define CMD_UNDO 313
#define CMD_REDO 314
#define CMD_ACCEPT 315
#define CMD_CANCEL 316

// Colour formats
#define CMD_NEXT_FORMAT 350
#define CMD_AUTO_FORMAT 351
#define CMD_FORMAT_HEX 352
#define CMD_FORMAT_DEC 353
#define CMD_FORMAT_FLOAT 354

// Anti-dither sizes
#define CMD_DITHER_NONE 400
#define CMD_DITHER_SMALL 401
#define CMD_DITHER_MEDIUM 402
#define CMD_DITHER_LARGE 403

// Screen mode and zoom
#define CMD_STICKY_ZOOM 500
#define CMD_SPLIT_SCREEN 501
#define CMD_ZOOM_1X 510
#define CMD_ZOOM_2X 511
#define CMD_ZOOM_4X 512
#define CMD_ZOOM_8X 513
#define CMD_ZOOM_16X 514
#define CMD_ZOOM_MAX 599

// Timers of the main window
#define TIMER_SPLASH 1
#define TIMER_DROPPER_DELAY 2
#define TIMER_SAMPLING 3
#define TIMER_REPEAT 4
#define TIMER_TOOLTIPS 5
#define TIMER_TRAY_ICON 6
#define TIMER_SAVE 7

// Version of the version resource (the about picture shows it too)
#define HUEBRICK_VERSION 1, 0, 0, 0
#define HUEBRICK_VERSION_TEXT "1.0.0"
