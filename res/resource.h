#pragma once
// Resource ids shared by the .rc files and the code.

#define IDR_MAINFRAME 128   // main menu, accelerators and the program icon
#define IDS_APP_TITLE 128   // product name and version

// Commands of the main menu and the main window.
#define ID_HELP_CONTENTS     32801
#define ID_APP_ABOUT_QUENTA  32844
#define ID_FILE_SAVE_LIST    32845
// Shows the help page of the current module (the caption bar's help zone).
#define ID_SHOW_MODULE_HELP  33536
// ID_SWITCH_MODULE_FIRST + module id switches to that module (the module buttons send these
// too, so other programs can drive the window the same way); 18 is the highest module id.
#define ID_SWITCH_MODULE_FIRST 33792
#define ID_SWITCH_MODULE_LAST  33810
// The framework's standard commands: framework/command.h gives them to the code, so only the
// resource compiler (and the native text table, which reads every #define) takes them from here.
#ifdef RC_INVOKED
#define ID_FILE_PRINT_SETUP  57606
#define ID_FILE_PRINT        57607
#define ID_FILE_PRINT_PREVIEW 57609
#define ID_APP_ABOUT         57664
#define ID_APP_EXIT          57665
#endif

// ---- Artwork (art.rc) ----
// Icons
#define IDI_REPORT           142
#define IDI_QUENTA           147
#define IDI_MESSAGE          175   // the program's message box
#define IDI_HAND_POINTER     177   // also used as the module bar's hand cursor
#define IDI_INSTALL          213
#define IDI_UNINSTALL        214
#define IDI_PICTURE_VIEWER   278
#define IDI_DATA_TYPE        284   // a data type whose own icon cannot be extracted
// Tab pictures (16 x 16 bitmaps with a key colour)
#define IDB_EXPLORER_TAB_FILES    190
#define IDB_EXPLORER_TAB_PICTURES 191
#define IDB_EXPLORER_TAB_REPORT   192
#define IDB_EXPLORER_TAB_INFO     250
#define IDB_TOOLS_TAB_ALL         258
#define IDB_TOOLS_TAB_MAKER       259
#define IDB_TOOLS_TAB_SYSTEM      260
#define IDB_TOOLS_TAB_CUSTOM      261
// Cursors
#define IDC_HELP_ZONE        176
#define IDC_HAND_POINTER     177
// Module button pictures (resource type "TGA")
#define IDR_PIC_TRANSLATOR   322
#define IDR_PIC_DATATYPES    323
#define IDR_PIC_DISKINFO     324
#define IDR_PIC_EXPLORER     327
#define IDR_PIC_FONTS        328
#define IDR_PIC_MISC         332
#define IDR_PIC_FINDER       339
#define IDR_PIC_CAPTURE      340
#define IDR_PIC_UNINSTALL    341
#define IDR_PIC_WALLPAPER    343
#define IDR_PIC_WINCOLORS    344
#define IDR_PIC_WINDOWS      345
#define IDR_PIC_SYSINFO      346
#define IDR_PIC_SYSPICTURE   347
#define IDR_PIC_TOOLS        348
#define IDR_PIC_ACQUIRE      350
#define IDR_PIC_SHORTCUTS    351
#define IDR_PIC_START        358
#define IDR_PIC_ONLINE       374
// Caption-bar zone pictures (type "TGA")
#define IDR_PIC_ZONE_HELP    400
#define IDR_PIC_ZONE_PRINT   401
#define IDR_PIC_ZONE_PREVIEW 402
#define IDR_PIC_ZONE_SAVE    403
// Splash (type "JPEG") and the busy animation (type "AVI")
#define IDR_SPLASH_COLOUR    356
#define IDR_SPLASH_MASK      357
#define IDR_AVI_BUSY         359

// ---- String table (strings_en.rc, strings_fr.rc) ----

// Setup and uninstall
#define IDS_SHORTCUT_REINSTALL           61675
#define IDS_UNINSTALL_NOT_FOUND          61676
#define IDS_UNINSTALL_CONFIRM            61678
#define IDS_UNINSTALL_DONE               61679
#define IDS_UNINSTALL_FAILED             61680
#define IDS_PRINT_JOB_FAILED             61702

// Start panel and module titles
#define IDS_PRODUCT_NOTICE               62446
#define IDS_MODULE_START                 62448
#define IDS_MODULE_EXPLORER              62449
#define IDS_MODULE_SYSPICTURE            62450
#define IDS_MODULE_WALLPAPER             62451
#define IDS_MODULE_TRANSLATOR            62452
#define IDS_MODULE_CAPTURE               62453
#define IDS_MODULE_ACQUIRE               62454
#define IDS_MODULE_WINCOLORS             62455
#define IDS_MODULE_TOOLS                 62456
#define IDS_MODULE_FINDER                62457
#define IDS_MODULE_WINDOWS               62458
#define IDS_MODULE_FONTS                 62459
#define IDS_MODULE_SHORTCUTS             62460
#define IDS_MODULE_UNINSTALL             62461
#define IDS_MODULE_DATATYPES             62462
#define IDS_MODULE_DISKINFO              62463
#define IDS_MODULE_SYSINFO               62464
#define IDS_MODULE_MISC                  62465
#define IDS_MODULE_ONLINE                62468
#define IDS_CREDITS_PROGRAMMING          62469
#define IDS_CREDITS_ARTWORK              62470

// Explorer and file information
#define IDS_TAB_FILES                    62471
#define IDS_TAB_PICTURES                 62472
#define IDS_TAB_REPORT                   62473
#define IDS_TAB_INFO                     62474
#define IDS_COLUMN_NAME                  62475
#define IDS_COLUMN_SIZE                  62476
#define IDS_COLUMN_MODIFIED              62477
#define IDS_COLUMN_TYPE                  62478
#define IDS_COLUMN_ATTRIBUTES            62479
#define IDS_COLUMN_VALUE                 62480
#define IDS_INFO_PATH                    62481
#define IDS_INFO_CREATED                 62482
#define IDS_INFO_SHORT_NAME              62483

// Windows information
#define IDS_WININFO_VERSION              62486
#define IDS_WININFO_SHARED_DLL           62488
#define IDS_WININFO_SYSTEM_DLL           62489
#define IDS_WININFO_SYSTEM_EXE           62490
#define IDS_WININFO_PRODUCT_NAME         62491
#define IDS_WININFO_PLUS_VERSION         62492
#define IDS_WININFO_CSD_VERSION          62493
#define IDS_WININFO_BUILD                62494
#define IDS_WININFO_PRODUCT_ID           62495
#define IDS_WININFO_SYSTEM_ROOT          62496
#define IDS_WININFO_SCREEN_BPP           62498
#define IDS_WININFO_SCREEN_WIDTH         62499
#define IDS_WININFO_SCREEN_HEIGHT        62500
#define IDS_WININFO_FREQUENCY            62501
#define IDS_WININFO_WINDOWS_DIR          62502
#define IDS_WININFO_SYSTEM_DIR           62503
#define IDS_WININFO_TEMP_DIR             62504

// Common dialogs, reports and object counts
#define IDS_FILTER_ALL_FILES             62510
#define IDS_SAVE_TITLE                   62511
#define IDS_EMPTY                        62512
#define IDS_BUSY_CANCEL                  62513   // the busy bar's Cancel button
#define IDS_HELP                         62516
#define IDS_FILTER_SAVE_LIST             62517
#define IDS_EXPLORER_REPORT_TITLE        62518
#define IDS_PRINT_NOTE                   62519
#define IDS_OBJECT_COUNT_ONE             62520
#define IDS_OBJECT_COUNT_MANY            62521
#define IDS_SELECTED_COUNT_ONE           62522
#define IDS_SELECTED_COUNT_MANY          62523

// Disks information
#define IDS_TIP_RESET_DISK_ICON          62524
#define IDS_TIP_CHANGE_DISK_ICON         62525
#define IDS_TIP_APPLY                    62526
#define IDS_DISK_LETTER                  62527
#define IDS_DISK_FREE_SPACE              62528
#define IDS_DISK_SERIAL                  62529
#define IDS_DISK_MAX_NAME                62530
#define IDS_DISK_FILE_SYSTEM             62531
#define IDS_DISKINFO_REPORT_TITLE        62532

// Data types
#define IDS_COLUMN_EXTENSION             62533
#define IDS_COLUMN_COMMAND_LINE          62534
#define IDS_RETRIEVING_ITEM              62535
#define IDS_TIP_SELECT_PROGRAM           62536
#define IDS_TIP_ADD_DATA_TYPE            62537
#define IDS_TIP_CHANGE_TYPE_ICON         62538
#define IDS_DATATYPE_REMOVE_CONFIRM      62539
#define IDS_DATATYPE_REPORT_TITLE        62540
#define IDS_FILTER_PROGRAMS              62541
#define IDS_SELECT_TITLE                 62542

// Applications shortcuts
#define IDS_SHORTCUT_REMOVE_ONE          62554
#define IDS_SHORTCUT_REMOVE_MANY         62555

// Finder
#define IDS_FINDER_ALL_DISKS             62579
#define IDS_TIP_FINDER_ADD_TO_LIST       62580
#define IDS_TIP_FINDER_SELECT_FOLDER     62581
#define IDS_TIP_FINDER_SEARCH_IN_LIST    62582
#define IDS_FINDER_FOLDER_TITLE          62583
#define IDS_FINDER_TOO_MANY              62584
#define IDS_FINDER_START                 62585
#define IDS_FINDER_STOP                  62586
#define IDS_EXAMINING_ITEM               62587
#define IDS_WININFO_REPORT_TITLE         62588
#define IDS_FINDER_REPORT_TITLE          62589
// Finder form, progress texts and tabs
#define IDS_FINDER_SEARCHING_FOLDERS     63240
#define IDS_FINDER_SEARCHING_FILES       63241
#define IDS_FINDER_TAB_RESULTS           63242
#define IDS_FINDER_TAB_FOLDERS           63243
#define IDS_FINDER_LABEL_PATTERNS        63244
#define IDS_FINDER_LABEL_FOLDER          63245
#define IDS_FINDER_SELECT_FOLDER         63246
#define IDS_FINDER_INCLUDE_SUBFOLDERS    63247
#define IDS_FINDER_ADD_TO_LIST           63248
#define IDS_FINDER_SEARCH_IN_LIST        63249
#define IDS_COLUMN_FOLDER                63250

// Windows colours
#define IDS_COLOR_3DDKSHADOW             62590
#define IDS_COLOR_3DFACE                 62591
#define IDS_COLOR_3DHILIGHT              62592
#define IDS_COLOR_3DLIGHT                62593
#define IDS_COLOR_3DSHADOW               62594
#define IDS_COLOR_ACTIVEBORDER           62595
#define IDS_COLOR_ACTIVECAPTION          62596
#define IDS_COLOR_APPWORKSPACE           62597
#define IDS_COLOR_BACKGROUND             62598
#define IDS_COLOR_BTNHILIGHT             62599
#define IDS_COLOR_BTNSHADOW              62600
#define IDS_COLOR_BTNTEXT                62601
#define IDS_COLOR_CAPTIONTEXT            62602
#define IDS_COLOR_GRAYTEXT               62603
#define IDS_COLOR_HIGHLIGHT              62604
#define IDS_COLOR_HIGHLIGHTTEXT          62605
#define IDS_COLOR_INACTIVEBORDER         62606
#define IDS_COLOR_INACTIVECAPTION        62607
#define IDS_COLOR_INACTIVECAPTIONTEXT    62608
#define IDS_COLOR_INFOBK                 62609
#define IDS_COLOR_INFOTEXT               62610
#define IDS_COLOR_MENU                   62611
#define IDS_COLOR_SCROLLBAR              62612
#define IDS_COLOR_WINDOW                 62613
#define IDS_COLOR_WINDOWFRAME            62614
#define IDS_COLOR_WINDOWTEXT             62615
#define IDS_COLUMN_DESCRIPTION           62616
#define IDS_WINCOLORS_REPORT_TITLE       62617
#define IDS_TIP_RESET                    62618
#define IDS_TIP_DEFAULT                  62619
#define IDS_TIP_WYSIWYG                  62620
#define IDS_FILE_NOT_FOUND               62621
#define IDS_LOAD_TITLE                   62622
#define IDS_FILTER_THEMES                62623
#define IDS_THEME_RESTORE_CONFIRM        62624
#define IDS_THEME_RESTORE_FAILED         62625

// Uninstall manager
#define IDS_TIP_EDIT_COMMAND             62626
#define IDS_TIP_DELETE_COMMAND           62627
#define IDS_TIP_ADD_COMMAND              62628
#define IDS_TIP_UNINSTALL_PROGRAM        62629
#define IDS_UNINSTALL_REPORT_TITLE       62630
#define IDS_UNINSTALL_DELETE_CONFIRM     62631

// Tools
#define IDS_TOOLS_ALL                    62632
#define IDS_TOOLS_MAKER                  62633
#define IDS_TOOLS_CUSTOM                 62634
#define IDS_TOOLS_SYSTEM                 62635
#define IDS_TOOLS_REPORT_TITLE           62636

// System information
#define IDS_UNKNOWN                      62638
#define IDS_SYSINFO_ARCHITECTURE         62639
#define IDS_SYSINFO_REVISION             62640
#define IDS_SYSINFO_PROCESSORS           62641
#define IDS_SYSINFO_GRANULARITY          62642
#define IDS_SYSINFO_PAGE_SIZE            62643
#define IDS_SYSINFO_MIN_ADDRESS          62644
#define IDS_SYSINFO_MAX_ADDRESS          62645
#define IDS_SYSINFO_MEMORY_LOAD          62646
#define IDS_SYSINFO_PHYSICAL             62647
#define IDS_SYSINFO_FREE_PHYSICAL        62648
#define IDS_SYSINFO_PAGING               62649
#define IDS_SYSINFO_FREE_PAGING          62650
#define IDS_SYSINFO_VIRTUAL              62651
#define IDS_SYSINFO_FREE_VIRTUAL         62652
#define IDS_SYSINFO_REPORT_TITLE         62653

// Pictures, places and messages
#define IDS_UNKNOWN_FILE_TYPE            62654
#define IDS_INFO_FORMAT                  62655
#define IDS_LOADING_PICTURE              62666
#define IDS_COLLECTING_INFORMATION       62673
#define IDS_PLACE_DESKTOP                62674
#define IDS_PLACE_QUICK_LAUNCH           62675
#define IDS_PLACE_STARTUP                62676
#define IDS_PLACE_DESKTOP_ALL            62677
#define IDS_PLACE_QUICK_LAUNCH_ALL       62678
#define IDS_PLACE_STARTUP_ALL            62679
#define IDS_TIP_SELECT_APPLICATION       62680
#define IDS_TIP_DELETE_SHORTCUT          62681
#define IDS_TIP_ADD_SHORTCUT             62682
#define IDS_SHORTCUTS_REPORT_TITLE       62683
#define IDS_HELP_PAGE_MISSING            62688
#define IDS_CANNOT_LOAD_PICTURE          62697

// Status texts
#define IDS_STATUS_LOADING               62701
#define IDS_STATUS_GENERATING_HTML       62702
#define IDS_STATUS_SAVING                62703
#define IDS_STATUS_EXAMINING             62704

// Picture viewer
#define IDS_CHANNEL_RED                  62705
#define IDS_CHANNEL_GREEN                62706
#define IDS_CHANNEL_BLUE                 62707
#define IDS_CHANNEL_ALPHA                62708
#define IDS_CHANNEL_RGBA                 62709
#define IDS_CHANNEL_RGB                  62710
#define IDS_INFO_UNCOMPRESSED            62711
#define IDS_INFO_WIDTH                   62712
#define IDS_INFO_HEIGHT                  62713
#define IDS_INFO_DEPTH                   62714
#define IDS_INFO_COLORS                  62715
#define IDS_INFO_ACCESSED                62716
#define IDS_FONTS_REPORT_TITLE           62717

// Setup and resource archives
#define IDS_SETUP_TITLE                  62718
#define IDS_UNINSTALLER_TITLE            62719
#define IDS_SETUP_AVAILABLE_SPACE        62721
#define IDS_STATUS_EXTRACTING            62722
#define IDS_STATUS_DELETING              62723
#define IDS_ALL_SUPPORTED_FORMATS        62724
#define IDS_STATUS_COPYING               62725
#define IDS_MOVE_FOLDER_TITLE            62726
#define IDS_MY_COMPUTER                  62734
#define IDS_NETWORK_NEIGHBORHOOD         62735

// Main window
#define IDS_READY                        57345   // idle status text; the framework's AFX_IDS_IDLEMESSAGE
#define IDS_PLEASE_WAIT                  62900
#define IDS_MESSAGE_CAPTION              62901

// Pictures translator, picture viewer, picture open dialog
#define IDS_VIEWER_TITLE                 63000
#define IDS_DEPTH_BITS                   63001
#define IDS_DEPTH_ONE_BIT                63002
#define IDS_TRANSLATOR_REPORT_TITLE      63003
#define IDS_COLUMN_FORMAT                63004
#define IDS_COLUMN_PATH                  63005
#define IDS_BUTTON_ADD_FILES             63006
#define IDS_BUTTON_ADD_FOLDER            63007
#define IDS_BUTTON_REMOVE                63008
#define IDS_BUTTON_BROWSE                63009
#define IDS_LABEL_TYPE                   63010
#define IDS_LABEL_COLOR_DEPTH            63011
#define IDS_LABEL_JPEG_QUALITY           63012
#define IDS_CHECK_COMPRESS               63013
#define IDS_BUTTON_START                 63014
#define IDS_LABEL_OUTPUT_FOLDER          63015
#define IDS_TIP_ADD_PICTURES             63016
#define IDS_TIP_REMOVE_FILES             63017
#define IDS_TIP_ADD_FOLDER               63018
#define IDS_TIP_SELECT_OUTPUT            63019
#define IDS_DEPTH_CHOICE_1               63020
#define IDS_DEPTH_CHOICE_4               63021
#define IDS_DEPTH_CHOICE_8               63022
#define IDS_DEPTH_CHOICE_24              63023
#define IDS_DEPTH_CHOICE_32              63024
#define IDS_LOAD_PICTURE_TITLE           63025
#define IDS_SELECT_FOLDER_TITLE          63026
#define IDS_STATUS_ADDING_FILE           63027
#define IDS_STATUS_PROCESSING_FILE       63028
#define IDS_ASK_OVERWRITE                63029
#define IDS_ASK_OVERWRITE_ALL            63030
#define IDS_WORKING_TITLE                63031
#define IDS_BUTTON_CANCEL                63032
#define IDS_PREVIEW_CHECK                63033
#define IDS_VIEWER_SAVE_BMP_TITLE        63034
#define IDS_CANNOT_WRITE_FILE            63035
// File tools: the explorer's Info tab, thumbnail captions and the rename dialog
#define IDS_INFO_FILE_COUNT              63150
#define IDS_INFO_FOLDER_COUNT            63151
#define IDS_THUMBNAIL_CAPTION            63152
#define IDS_CAPTION_BIT                  63153
#define IDS_CAPTION_BITS                 63154
#define IDS_RENAME_TITLE                 63155
#define IDS_RENAME_LABEL                 63156
#define IDS_BUTTON_OK                    63157
// Controls of the picture open dialog's preview panel (tests find them inside the dialog)
#define IDC_PICTURE_OPEN_PREVIEW_CHECK   2000
#define IDC_PICTURE_OPEN_PREVIEW         2001   // the area showing the picture
#define IDC_PICTURE_OPEN_SIZE            2002   // the shown picture's size, "640 x 480"
#define IDR_PICTURE_VIEWER_MENU          187
#define IDD_PICTURE_VIEWER               185
// Picture viewer commands
#define ID_VIEWER_CLOSE       32792
#define ID_VIEWER_FULL_SCREEN 32793
#define ID_VIEWER_SAVE_BMP    32795
#ifndef ID_EDIT_COPY
#define ID_EDIT_COPY          57634
#endif

// ---- File information and the file properties dialog ----
#define IDS_TYPE_UNKNOWN                 63400
#define IDS_SIZE_ZERO                    63401
#define IDS_SIZE_LONG_FORMAT             63402
#define IDS_SIZE_UNIT_BYTES              63403
#define IDS_SIZE_UNIT_KB                 63404
#define IDS_SIZE_UNIT_MB                 63405
#define IDS_SIZE_UNIT_GB                 63406
#define IDS_SIZE_KB_SUFFIX               63407
#define IDS_PROPERTIES_TITLE             63410
#define IDS_PROPERTIES_TYPE              63411
#define IDS_PROPERTIES_LOCATION          63412
#define IDS_PROPERTIES_SIZE              63413
#define IDS_PROPERTIES_DOS_NAME          63414
#define IDS_PROPERTIES_CREATED           63415
#define IDS_PROPERTIES_MODIFIED          63416
#define IDS_PROPERTIES_ACCESSED          63417
#define IDS_PROPERTIES_ATTRIBUTES        63418
#define IDS_PROPERTIES_READ_ONLY         63419
#define IDS_PROPERTIES_HIDDEN            63420
#define IDS_PROPERTIES_ARCHIVE           63421
#define IDS_PROPERTIES_SYSTEM            63422
#define IDS_PROPERTIES_COMPRESSED        63423
#define IDS_PROPERTIES_APPLY             63424
#define IDS_PROPERTIES_CLOSE             63425

// The file properties dialog (template 170). Its control ids are read by the tests.
#define IDD_FILE_PROPERTIES              170
#define IDC_PROPERTIES_ICON              1700
#define IDC_PROPERTIES_NAME              1701
#define IDC_PROPERTIES_TYPE_LABEL        1702
#define IDC_PROPERTIES_TYPE              1703
#define IDC_PROPERTIES_LOCATION_LABEL    1704
#define IDC_PROPERTIES_LOCATION          1705
#define IDC_PROPERTIES_SIZE_LABEL        1706
#define IDC_PROPERTIES_SIZE              1707
#define IDC_PROPERTIES_DOS_NAME_LABEL    1708
#define IDC_PROPERTIES_DOS_NAME          1709
#define IDC_PROPERTIES_CREATED_LABEL     1710
#define IDC_PROPERTIES_CREATED           1711
#define IDC_PROPERTIES_MODIFIED_LABEL    1712
#define IDC_PROPERTIES_MODIFIED          1713
#define IDC_PROPERTIES_ACCESSED_LABEL    1714
#define IDC_PROPERTIES_ACCESSED          1715
#define IDC_PROPERTIES_ATTRIBUTES_LABEL  1716
#define IDC_PROPERTIES_READ_ONLY         1717  // "Read only"
#define IDC_PROPERTIES_HIDDEN            1718  // "Hidden"
#define IDC_PROPERTIES_ARCHIVE           1719  // "Ar&chive"
#define IDC_PROPERTIES_SYSTEM            1720  // "System" (shown, never changed)
#define IDC_PROPERTIES_COMPRESSED        1721  // "Compressed" (hidden and disabled)
#define IDC_PROPERTIES_APPLY             1722  // "&Apply"; "&Close" is IDCANCEL

// ---- Forms (forms.rc) and the working window ----
// The pictures translator's form. Its control ids are read by the end-to-end test.
#define IDD_TRANSLATOR                   420
#define IDC_TRANSLATOR_LIST              1000  // the input list (report list control)
#define IDC_TRANSLATOR_ADD_FILES         1001  // "Add &File(s)"
#define IDC_TRANSLATOR_ADD_FOLDER        1002  // "&Add Folder"
#define IDC_TRANSLATOR_REMOVE            1003  // "&Remove"
#define IDC_TRANSLATOR_OUTPUT            1004  // output folder edit
#define IDC_TRANSLATOR_BROWSE            1005  // "..."
#define IDC_TRANSLATOR_TYPE              1006  // "Type :" (item data: codec table index)
#define IDC_TRANSLATOR_DEPTH             1007  // "Color depth :" (item data: bits)
#define IDC_TRANSLATOR_QUALITY           1008  // "JPEG Quality :" edit
#define IDC_TRANSLATOR_QUALITY_SPIN      1009
#define IDC_TRANSLATOR_COMPRESS          1010  // "Compress"
#define IDC_TRANSLATOR_START             1011  // "&Start"
#define IDC_TRANSLATOR_TYPE_LABEL        1012
#define IDC_TRANSLATOR_DEPTH_LABEL       1013
#define IDC_TRANSLATOR_QUALITY_LABEL     1014
#define IDC_TRANSLATOR_OUTPUT_LABEL      1015
// The translator's list menu (menus.rc) and its commands
#define IDR_TRANSLATOR_LIST_MENU         422
#define ID_TRANSLATOR_VIEW               32900
#define ID_TRANSLATOR_REMOVE             32901
// The explorer's form (module 13). Its control ids are read by the end-to-end test.
#define IDD_EXPLORER                     199
#define IDC_EXPLORER_TABS                1032  // Files, Pictures, Report, Info
#define IDC_EXPLORER_ICONS               1068  // large icons of the Files and Pictures tabs
#define IDC_EXPLORER_REPORT              1069  // the Report tab's list
#define IDC_EXPLORER_SUMMARY             1070  // the Info tab's list
#define IDC_EXPLORER_TREE                1122  // the folder tree
#define IDC_EXPLORER_PICTURE             1336  // the picture printer
// The file menus of the explorer's lists (menus.rc) and the file commands they send
#define IDR_EXPLORER_FILE_MENU           168
#define IDR_EXPLORER_PICTURE_MENU        189
#define ID_FILE_ACTION_OPEN              32775
#define ID_FILE_ACTION_COPY              32777
#define ID_FILE_ACTION_MOVE              32778
#define ID_FILE_ACTION_DELETE            32779
#define ID_FILE_ACTION_RENAME            32780
#define ID_FILE_ACTION_PROPERTIES        32781
#define ID_FILE_ACTION_VIEW              32802
#define ID_FILE_ACTION_PRINT             32806
#define ID_FILE_ACTION_EDIT              32812
#define ID_FILE_ACTION_PRINT_PREVIEW     32814
// The rename dialog of the file actions: the new name's edit box, OK and Cancel.
#define IDD_RENAME_FILE                  424
#define IDC_RENAME_LABEL                 1130
#define IDC_RENAME_NAME                  1131
// The working window of a long run (a top-level window titled "Quenta - Working..."); its
// "&Cancel" is IDCANCEL.
#define IDD_WORKING                      421
#define IDC_WORKING_LINE1                1100
#define IDC_WORKING_LINE2                1101
#define IDC_WORKING_BAR1                 1102  // items done
#define IDC_WORKING_BAR2                 1103  // the current item's progress
#define IDC_WORKING_ANIMATION            1104
// The picture browser's progress texts
#define IDS_BROWSER_LOADING_FILE         62750
#define IDS_BROWSER_SAVING_FILE          62751


// The finder's form (module 8) and its result list menu. The end-to-end and view tests read
// these ids.
#define IDD_FINDER                       423
#define IDC_FINDER_PATTERNS              1000  // pattern combo box with its history
#define IDC_FINDER_FOLDER                1001  // folder box (an icon combo box); "All disks" first
#define IDC_FINDER_START                 1002  // "&Start" / "&Stop"
#define IDC_FINDER_SELECT_FOLDER         1003  // "Select F&older"
#define IDC_FINDER_INCLUDE_SUBFOLDERS    1004
#define IDC_FINDER_ADD_TO_LIST           1005
#define IDC_FINDER_SEARCH_IN_LIST        1006
#define IDC_FINDER_ANIMATION             1007
#define IDC_FINDER_PATTERNS_LABEL        1008
#define IDC_FINDER_FOLDER_LABEL          1009
#define IDC_FINDER_TABS                  1032  // all results, folders, one tab per drive
#define IDC_FINDER_LIST                  1068  // the result list
#define IDR_FINDER_LIST_MENU             193

// ---- Data types (module 12): its form, the list menu 169, the new-type dialog 173 and the
// icon picker 196. The end-to-end test reads these ids.
#define IDD_DATATYPES                    5120
#define IDC_DATATYPE_ICON                1086  // large icon of the selected type
#define IDC_DATATYPE_CHANGE_ICON         1087  // "&Change icon"
#define IDC_DATATYPE_APPLY               1090  // "&Apply"
#define IDC_DATATYPE_NAME                1091  // type name
#define IDC_DATATYPE_LIST                1092  // the types
#define IDC_DATATYPE_ADD                 1093  // "A&dd new data type"
#define IDC_DATATYPE_EXTENSION           1094  // extension, read-only
#define IDC_DATATYPE_COMMAND             1036  // command line
#define IDC_DATATYPE_SELECT_PROGRAM      1309  // "..."
#define IDC_DATATYPE_NAME_LABEL          1095
#define IDC_DATATYPE_EXTENSION_LABEL     1096
#define IDC_DATATYPE_COMMAND_LABEL       1097
#define IDR_DATATYPE_MENU                169
#define ID_DATATYPE_DELETE               34120
#define ID_DATATYPE_ADD                  34121
#define IDD_NEW_DATATYPE                 173
#define IDC_NEWTYPE_EXTENSION            1111
#define IDC_NEWTYPE_NAME                 1112  // sorted, editable drop-down of the known types
#define IDC_NEWTYPE_COMMAND              1042
#define IDC_NEWTYPE_SELECT_PROGRAM       1108  // "..."
#define IDC_NEWTYPE_SELECT_ICON          1107  // "&Select"
#define IDC_NEWTYPE_ICON                 1110
#define IDC_NEWTYPE_OK                   1109
#define IDC_NEWTYPE_CANCEL               1002
#define IDC_NEWTYPE_EXTENSION_LABEL      1113
#define IDC_NEWTYPE_NAME_LABEL           1114
#define IDC_NEWTYPE_COMMAND_LABEL        1115
#define IDD_ICON_PICKER                  196
#define IDC_ICONPICKER_LIST              1189  // every icon of the file, "# %d"
#define IDC_ICONPICKER_APPLY             1190
#define IDC_ICONPICKER_CANCEL            1191
#define IDC_ICONPICKER_BROWSE            1192
#define IDC_ICONPICKER_FILE              1040
#define IDC_ICONPICKER_PREVIEW           1193
#define IDS_DATATYPE_CHANGE_ICON         64120
#define IDS_DATATYPE_APPLY               64121
#define IDS_DATATYPE_ADD                 64122
#define IDS_DATATYPE_NAME_LABEL          64123
#define IDS_DATATYPE_EXTENSION_LABEL     64124
#define IDS_DATATYPE_COMMAND_LABEL       64125
#define IDS_NEWTYPE_TITLE                64126
#define IDS_NEWTYPE_SELECT_ICON          64127
#define IDS_FILTER_EXECUTABLES           64128
#define IDS_NEWTYPE_ITEM                 64129  // "%s (%s)": description, extension
#define IDS_ICONPICKER_TITLE             64130
#define IDS_ICONPICKER_ITEM              64131  // "# %d"
#define IDS_FILTER_ICON_FILES            64132
#define IDS_NEWTYPE_EXTENSION_LABEL      64133
#define IDS_NEWTYPE_NAME_LABEL           64134
#define IDS_NEWTYPE_COMMAND_LABEL        64135

// The archive reader's failure texts ("%s": the archive, entry or file concerned).
#define IDS_ARCHIVE_BAD_HEADER           64800
#define IDS_ARCHIVE_UNREADABLE           64801
#define IDS_ARCHIVE_CANNOT_CREATE        64802
#define IDS_ARCHIVE_NOT_REMOVABLE        64803
#define IDS_ARCHIVE_NO_END_RECORD        64804
#define IDS_ARCHIVE_NO_SPACE             64805  // file, folder, space needed, space available
#define IDS_ARCHIVE_NEEDS_PASSWORD       64806
#define IDS_ARCHIVE_DAMAGED_ENTRY        64807
#define IDS_ARCHIVE_UNSAFE_NAME          64808
#define IDS_ARCHIVE_CANNOT_DELETE        64809

// The setup stub (QuentaSetup.exe, res/setupstub.rc): its wait box and the archives and record
// it places.
#define IDD_SETUP_STUB_WAIT              101
#define IDI_SETUP_STUB                   102
#define IDR_SETUP_STUB_SUPPORT           107  // "ZIP": a support library for the system folder (none is shipped)
#define IDR_SETUP_STUB_PROGRAM           108  // "ZIP": the program to install
#define IDR_SETUP_STUB_RECORD            110  // "AID": the 64-byte record written as "rixo.aid"

// ---- System, Windows and font information (modules 7, 2 and 10) ----
// The three forms; their control ids are read by the end-to-end test.
#define IDD_SYSINFO                      4701
#define IDC_SYSINFO_LIST                 4711
#define IDD_WININFO                      4702
#define IDC_WININFO_OWNER_LABEL          4712
#define IDC_WININFO_OWNER                4713  // read-only: "RegisteredOwner"
#define IDC_WININFO_ORGANIZATION_LABEL   4714
#define IDC_WININFO_ORGANIZATION         4715  // read-only: "RegisteredOrganization"
#define IDC_WININFO_LIST                 4716  // the information list
#define IDC_WININFO_TABS                 4717  // Shared DLL, System DLL, System EXE
#define IDC_WININFO_FILES                4718  // the current tab's files
#define IDD_FONTS                        4703
#define IDC_FONTS_LIST                   4719
// The font viewer (template 159)
#define IDD_FONT_VIEWER                  159
#define IDC_FONT_VIEWER_TEXT             1040  // the characters 1 to 255
#define IDC_FONT_VIEWER_SPIN             1070  // up-down of the size, 0 to 400
#define IDC_FONT_VIEWER_SIZE             1071  // "Size :"
#define IDC_FONT_VIEWER_NAME             1072  // the face name
#define IDC_FONT_VIEWER_NAME_LABEL       4720
#define IDC_FONT_VIEWER_SIZE_LABEL       4721
// The print choice of the Windows information (template 262); OK and Cancel.
#define IDD_WININFO_PRINT                262
#define IDC_WININFO_PRINT_INFORMATION    1242  // "Windows Information"
#define IDC_WININFO_PRINT_FILES          1243  // "Files List"
#define IDC_WININFO_PRINT_ANIMATION      4722
#define IDC_WININFO_PRINT_LABEL          4723
// Texts
#define IDS_WININFO_OWNER                63770
#define IDS_WININFO_ORGANIZATION         63771
#define IDS_COLUMN_VERSION               63772
#define IDS_COLUMN_PRODUCT               63773
#define IDS_WININFO_PRINT_TITLE          63774
#define IDS_WININFO_PRINT_QUESTION       63775
#define IDS_WININFO_PRINT_INFORMATION    63776
#define IDS_WININFO_PRINT_FILES          63777
#define IDS_FONT_VIEWER_TITLE            63778
#define IDS_FONT_VIEWER_NAME             63779
#define IDS_FONT_VIEWER_SIZE             63780

// Windows colours (module 4): its form, the control ids its tests read, and its form texts.
#define IDD_WINCOLORS                    446
#define IDC_WINCOLORS_LIST               1055  // the colours (name with swatch, description)
#define IDC_WINCOLORS_PREVIEW            1056  // colour button with the edited colour
#define IDC_WINCOLORS_NAME               1057  // key name of the selected colour
#define IDC_WINCOLORS_RED_SPIN           1058
#define IDC_WINCOLORS_GREEN_SPIN         1059
#define IDC_WINCOLORS_BLUE_SPIN          1060
#define IDC_WINCOLORS_WYSIWYG            1061  // live preview
#define IDC_WINCOLORS_APPLY              1062  // "&Apply" (default)
#define IDC_WINCOLORS_RESET              1063  // "&Reset": the colours found at start
#define IDC_WINCOLORS_DEFAULT            1064  // "&Default": the built-in colours
#define IDC_WINCOLORS_RED                1065
#define IDC_WINCOLORS_GREEN              1041
#define IDC_WINCOLORS_BLUE               1042
#define IDC_WINCOLORS_THEME_APPLY        1066  // applies the theme file named in 1099
#define IDC_WINCOLORS_DEFAULT_THEME      1067  // "Default &theme"
#define IDC_WINCOLORS_THEME_FILE         1099  // theme file name
#define IDC_WINCOLORS_THEME_BROWSE       1237  // "..."
#define IDC_WINCOLORS_COLOR_GROUP        1238
#define IDC_WINCOLORS_THEME_GROUP        1239
#define IDC_WINCOLORS_THEME_FILE_LABEL   1240
#define IDC_WINCOLORS_RED_LABEL          1241
#define IDC_WINCOLORS_GREEN_LABEL        1242
#define IDC_WINCOLORS_BLUE_LABEL         1243
#define IDS_WINCOLORS_COLOR_GROUP        64600
#define IDS_WINCOLORS_RED                64601
#define IDS_WINCOLORS_GREEN              64602
#define IDS_WINCOLORS_BLUE               64603
#define IDS_WINCOLORS_WYSIWYG            64604
#define IDS_WINCOLORS_APPLY              64605
#define IDS_WINCOLORS_RESET              64606
#define IDS_WINCOLORS_DEFAULT            64607
#define IDS_WINCOLORS_THEME_GROUP        64608
#define IDS_WINCOLORS_THEME_FILE         64609
#define IDS_WINCOLORS_DEFAULT_THEME      64610
#define IDS_WINCOLORS_TIP_THEME_APPLY    64611
#define IDS_WINCOLORS_TIP_THEME_BROWSE   64612
#define IDS_WINCOLORS_TIP_DEFAULT_THEME  64613
#define IDS_WINCOLORS_THEME_FAILED       64614

// ---- Applications shortcuts (module 17) ----
// Its form; the end-to-end test reads these ids.
#define IDD_SHORTCUTS                    270
#define IDC_SHORTCUTS_TABS               1032  // one tab per place with a folder
#define IDC_SHORTCUTS_LIST               1307  // the links of the current place
#define IDC_SHORTCUTS_NAME               1306  // "Shortcut name :" edit
#define IDC_SHORTCUTS_ICON               1086  // large icon of the selected link
#define IDC_SHORTCUTS_COMMAND            1036  // "Command line :" edit
#define IDC_SHORTCUTS_BROWSE             1302  // "..."
#define IDC_SHORTCUTS_ADD                1303  // "A&dd"
#define IDC_SHORTCUTS_DELETE             1304  // "&Del"
#define IDC_SHORTCUTS_APPLY              1305  // "&Apply"
#define IDC_SHORTCUTS_NAME_LABEL         1308
#define IDC_SHORTCUTS_COMMAND_LABEL      1309
// Tab pictures of the places, 16 x 16 keyed by magenta
#define IDB_SHORTCUTS_TAB_DESKTOP        272
#define IDB_SHORTCUTS_TAB_QUICK_LAUNCH   273
#define IDB_SHORTCUTS_TAB_STARTUP        274
// Texts
#define IDS_SHORTCUTS_LABEL_NAME         63717
#define IDS_SHORTCUTS_LABEL_COMMAND      63718
#define IDS_SHORTCUTS_ADD                63719
#define IDS_SHORTCUTS_DELETE             63720
#define IDS_SHORTCUTS_APPLY              63721
#define IDS_SHORTCUTS_COLUMN_TARGET      63722
#define IDS_SHORTCUTS_RETRIEVING         63723
#define IDS_SHORTCUTS_ADDING             63724
#define IDS_SHORTCUTS_REMOVING           63725
#define IDS_SHORTCUTS_REPLACE            63726
#define IDS_SHORTCUTS_BAD_NAME           63727
#define IDS_SHORTCUTS_BAD_COMMAND        63728
#define IDS_SHORTCUTS_NOT_WRITTEN        63729
#define IDS_SHORTCUTS_OLD_KEPT           63730
#define IDS_SHORTCUTS_NOT_REMOVED        63731
#define IDS_SHORTCUTS_COLUMN_NAME        63732
// ---- Uninstaller (module 9) and the name-and-command dialog it shares with the shortcuts ----
// The name-and-command dialog ("Quenta - Create shortcut"); tests read these ids.
#define IDD_SHORTCUT_ENTRY               271
#define IDC_SHORTCUT_ENTRY_COMMAND       1036  // "Command line :"
#define IDC_SHORTCUT_ENTRY_ICON          1086  // the program's large icon
#define IDC_SHORTCUT_ENTRY_OK            1310  // "&OK" (enabled with a name and a command)
#define IDC_SHORTCUT_ENTRY_CANCEL        1312
#define IDC_SHORTCUT_ENTRY_BROWSE        1313  // "..."
#define IDC_SHORTCUT_ENTRY_NAME          1314  // "Shortcut name :"
#define IDC_SHORTCUT_ENTRY_NAME_LABEL    1315
#define IDC_SHORTCUT_ENTRY_COMMAND_LABEL 1316
#define IDS_SHORTCUT_ENTRY_TITLE         64900
#define IDS_SHORTCUT_ENTRY_NAME_LABEL    64901
#define IDS_SHORTCUT_ENTRY_COMMAND_LABEL 64902
#define IDS_SHORTCUT_ENTRY_OK            64903
#define IDS_SHORTCUT_ENTRY_SELECT_TITLE  64904
#define IDS_SHORTCUT_ENTRY_FILTER        64905  // open-dialog filter pairs separated by "|"
// The uninstaller's form; the end-to-end test reads these ids.
#define IDD_UNINSTALL                    909
#define IDC_UNINSTALL_LIST               1009  // the entries (report list): Name, Command Line
#define IDC_UNINSTALL_NAME               1035  // read-only "Program name :"
#define IDC_UNINSTALL_COMMAND            1036  // read-only "Command line :"
#define IDC_UNINSTALL_RUN                1037  // "&Uninstall" (default)
#define IDC_UNINSTALL_ADD                1038  // "&Add"
#define IDC_UNINSTALL_DELETE             1039  // "&Delete"
#define IDC_UNINSTALL_EDIT               1040  // "&Edit"
#define IDC_UNINSTALL_NAME_LABEL         1041
#define IDC_UNINSTALL_COMMAND_LABEL      1042
#define IDS_UNINSTALL_NAME_LABEL         64906
#define IDS_UNINSTALL_ADD                64907
#define IDS_UNINSTALL_DELETE             64908
#define IDS_UNINSTALL_EDIT               64909
#define IDS_UNINSTALL_RUN                64910
// The list's context menu and its commands
#define IDR_UNINSTALL_MENU               190
#define ID_UNINSTALL_MENU_ADD            34090
#define ID_UNINSTALL_MENU_EDIT           34091
#define ID_UNINSTALL_MENU_RUN            34092
#define ID_UNINSTALL_MENU_REMOVE         34093

// The tool launcher (module 5): its form, and its list's menu, which is the finder's file menu
// (open, copy, move, delete, properties). The end-to-end test reads these ids.
#define IDD_TOOLS                        437
#define IDC_TOOLS_TABS                   1032  // All Tools, the maker's programs, Custom Tools, System Tools
#define IDC_TOOLS_LIST                   1068  // the programs of the chosen tab
#define IDR_FILE_LIST_MENU               IDR_FINDER_LIST_MENU

// The Misc module (module 6): its form, the tips editor and the program's blank icon. The
// end-to-end test reads these ids.
#define IDD_MISC                         162
#define IDC_MISC_ANIMATION               1046
#define IDC_MISC_WRAP_TITLES             1047
#define IDC_MISC_RECYCLE_NAME            1048
#define IDC_MISC_MENU_DELAY_SPIN         1049
#define IDC_MISC_BIG_ICONS               1050
#define IDC_MISC_DRAG_FULL               1051
#define IDC_MISC_FONT_SMOOTHING          1052
#define IDC_MISC_COLOUR_ICONS            1053
#define IDC_MISC_MENU_DELAY              1054
#define IDC_MISC_ICON_SIZE               1055
#define IDC_MISC_APPLY                   1056  // "Misc" group
#define IDC_MISC_RESET                   1057
#define IDC_MISC_BITMAP_ICONS            1060
#define IDC_MISC_LEFT_ALIGN              1061
#define IDC_MISC_FAST_SWITCH             1062
#define IDC_MISC_BEEP                    1063
#define IDC_MISC_ICON_SIZE_SPIN          1064
#define IDC_MISC_RECYCLE_RESET           1065
#define IDC_MISC_SHOW_TIPS               1066
#define IDC_MISC_RECYCLE_EMPTY_CHANGE    1067
#define IDC_MISC_SHORTCUT_ARROW          1068
#define IDC_MISC_RECYCLE_APPLY           1069
#define IDC_MISC_MENUS_APPLY             1070
#define IDC_MISC_RECYCLE_FULL_CHANGE     1071
#define IDC_MISC_OVERLAY_CHANGE          1072
#define IDC_MISC_RECYCLE_EMPTY_ICON      1176
#define IDC_MISC_RECYCLE_FULL_ICON       1177
#define IDC_MISC_OVERLAY_ICON            1178
#define IDC_MISC_EDIT_TIPS               1198
#define IDC_MISC_GROUP                   1180
#define IDC_MISC_MENUS_GROUP             1181
#define IDC_MISC_RECYCLE_GROUP           1182
#define IDC_MISC_MENU_DELAY_LABEL        1183
#define IDC_MISC_MILLISECONDS            1184
#define IDC_MISC_RECYCLE_NAME_LABEL      1185
#define IDC_MISC_RECYCLE_EMPTY_LABEL     1186
#define IDC_MISC_RECYCLE_FULL_LABEL      1187
#define IDD_TIPS                         197
#define IDC_TIPS_LIST                    1068
#define IDC_TIPS_TEXT                    1196
#define IDC_TIPS_OK                      1197
#define IDC_TIPS_CANCEL                  1198
#define IDC_TIPS_APPLY                   1199
// The shell finds a program's icons by their place among its icon groups, and the shortcut
// overlay names the program's place 12 (a blank icon). The blank icon fills a run of groups
// so that place 12 stays blank when a few icons with lower ids are added; the end-to-end
// test checks place 12.
#define IDI_BLANK_FIRST                  290
#define IDI_BLANK_2                      291
#define IDI_BLANK_3                      292
#define IDI_BLANK_4                      293
#define IDI_BLANK_5                      294
#define IDI_BLANK_6                      295
#define IDI_BLANK_LAST                   296
#define IDS_MISC_GROUP                   63560
#define IDS_MISC_ANIMATION               63561
#define IDS_MISC_FONT_SMOOTHING          63562
#define IDS_MISC_FAST_SWITCH             63563
#define IDS_MISC_COLOUR_ICONS            63564
#define IDS_MISC_BIG_ICONS               63565
#define IDS_MISC_SHOW_TIPS               63566
#define IDS_MISC_EDIT_TIPS               63567
#define IDS_MISC_SHORTCUT_ARROW          63568
#define IDS_MISC_CHANGE                  63569
#define IDS_MISC_DRAG_FULL               63570
#define IDS_MISC_BEEP                    63571
#define IDS_MISC_WRAP_TITLES             63572
#define IDS_MISC_BITMAP_ICONS            63573
#define IDS_MISC_RESET                   63574
#define IDS_MISC_APPLY                   63575
#define IDS_MISC_MENUS_GROUP             63576
#define IDS_MISC_MENU_DELAY              63577
#define IDS_MISC_MILLISECONDS            63578
#define IDS_MISC_LEFT_ALIGN              63579
#define IDS_MISC_GROUP_APPLY             63580
#define IDS_MISC_RECYCLE_GROUP           63581
#define IDS_MISC_RECYCLE_NAME            63582
#define IDS_MISC_RECYCLE_EMPTY           63583
#define IDS_MISC_RECYCLE_FULL            63584
#define IDS_TIPS_TITLE                   63585
#define IDS_TIPS_APPLY                   63586
#define IDS_TIPS_OK                      63587
#define IDS_TIPS_CANCEL                  63588

// ---- Disks information (module 11) ----
// The module's form; its control ids are read by the tests.
#define IDD_DISKINFO                     611
#define IDC_DISK_LIST                    1074  // the drives (report list)
#define IDC_DISK_APPLY                   1075  // "&Apply" (default)
#define IDC_DISK_LABEL                   1076  // "Volume Label :" edit
#define IDC_DISK_LABEL_TEXT              1077
#define IDC_DISK_CHANGE                  1087  // "&Change" (icon picker)
#define IDC_DISK_RESET                   1088  // "&Reset" (default icon)
#define IDC_DISK_ICON                    1113  // the selected drive's icon
#define IDC_DISK_ICON_GROUP              1315  // "Volume Icon"
// The list's menu and its commands
#define IDR_DISKINFO_MENU                170
#define ID_DISK_OPEN                     34110
#define ID_DISK_BROWSE                   34111
#define ID_DISK_PROPERTIES               34112
// The disk properties dialog and its pie chart
#define IDD_DISK_PROPERTIES              183
#define IDC_DISKPROP_ICON                1114
#define IDC_DISKPROP_CLOSE               1118
#define IDC_DISKPROP_HEADING             1119  // "%s (%s)": label, root
#define IDC_DISKPROP_TYPE                1120
#define IDC_DISKPROP_FILE_SYSTEM         1121
#define IDC_DISKPROP_FREE                1122  // "%s (%d%%)"
#define IDC_DISKPROP_USED                1123
#define IDC_DISKPROP_TOTAL               1124
#define IDC_DISKPROP_CHART               1125  // the chart's frame
#define IDC_DISKPROP_TYPE_LABEL          1126
#define IDC_DISKPROP_FILE_SYSTEM_LABEL   1127
#define IDC_DISKPROP_FREE_LABEL          1128
#define IDC_DISKPROP_USED_LABEL          1129
#define IDC_DISKPROP_TOTAL_LABEL         1130
#define IDC_DISKPROP_FREE_COLOR          1155
#define IDC_DISKPROP_USED_COLOR          1156
// Texts
#define IDS_DISK_TYPE_REMOVABLE          64710
#define IDS_DISK_TYPE_FIXED              64711
#define IDS_DISK_TYPE_REMOTE             64712
#define IDS_DISK_TYPE_CDROM              64713
#define IDS_DISK_TYPE_RAM                64714
#define IDS_DISK_NO_RESOURCES            64715
#define IDS_DISK_VOLUME_LABEL            64716
#define IDS_DISK_CHANGE                  64717
#define IDS_DISK_RESET                   64718
#define IDS_DISK_APPLY                   64719
#define IDS_DISK_VOLUME_ICON             64720
#define IDS_DISKPROP_TITLE               64721
#define IDS_DISKPROP_HEADING             64722
#define IDS_DISKPROP_TYPE                64723
#define IDS_DISKPROP_FILE_SYSTEM         64724
#define IDS_DISKPROP_FREE                64725
#define IDS_DISKPROP_USED                64726
#define IDS_DISKPROP_TOTAL               64727
#define IDS_DISKPROP_SHARE               64728
#define IDS_DISKPROP_CLOSE               64729
#define IDS_DISK_WRITE_FAILED            64730

// Wallpaper (module 3) and the hand-over of a picture to the image editor ("&Edit" of the
// picture modules). The end-to-end and view tests read these ids.
#define IDD_WALLPAPER                    440
#define IDC_WALLPAPER_TABS               1000  // "Current User", "Default User"
#define IDC_WALLPAPER_PREVIEW            1001  // the picture control
#define IDC_WALLPAPER_STATUS             1002  // "(none)" or "name (WxH)"
#define IDC_WALLPAPER_LOAD               1003
#define IDC_WALLPAPER_VIEW               1004
#define IDC_WALLPAPER_PRINT              1005
#define IDC_WALLPAPER_EDIT               1006
#define IDC_WALLPAPER_RESET              1007
#define IDC_WALLPAPER_DELETE             1008
#define IDC_WALLPAPER_APPLY              1009
#define IDC_WALLPAPER_COLOR              1010  // the background colour button
#define IDC_WALLPAPER_NORMAL             1011  // the four mode radios, in this order
#define IDC_WALLPAPER_MOSAIC             1012
#define IDC_WALLPAPER_STRETCH            1013
#define IDC_WALLPAPER_BESTFIT            1014
#define IDC_WALLPAPER_WIDTH              1015  // the target size edits and their spins
#define IDC_WALLPAPER_WIDTH_SPIN         1016
#define IDC_WALLPAPER_HEIGHT             1017
#define IDC_WALLPAPER_HEIGHT_SPIN        1018
#define IDC_WALLPAPER_PICTURE_WIDTH      1019  // the picture's own size
#define IDC_WALLPAPER_PICTURE_HEIGHT     1020
#define IDC_WALLPAPER_SCREEN_SIZE        1021
#define IDC_WALLPAPER_MODE_GROUP         1022
#define IDC_WALLPAPER_SIZE_GROUP         1023
#define IDC_WALLPAPER_WIDTH_LABEL        1024
#define IDC_WALLPAPER_HEIGHT_LABEL       1025
#define IDC_WALLPAPER_PICTURE_LABEL      1026
#define IDC_WALLPAPER_TARGET_LABEL       1027
#define IDC_WALLPAPER_SCREEN_LABEL       1028
#define IDC_WALLPAPER_COLOR_LABEL        1029
#define IDS_WALLPAPER_CURRENT_USER       65100
#define IDS_WALLPAPER_DEFAULT_USER       65101
#define IDS_WALLPAPER_LOAD               65102
#define IDS_WALLPAPER_VIEW               65103
#define IDS_WALLPAPER_PRINT              65104
#define IDS_WALLPAPER_EDIT               65105
#define IDS_WALLPAPER_RESET              65106
#define IDS_WALLPAPER_DELETE             65107
#define IDS_WALLPAPER_APPLY              65108
#define IDS_WALLPAPER_LOAD_TIP           65109  // also the open dialog's title
#define IDS_WALLPAPER_VIEW_TIP           65110
#define IDS_WALLPAPER_PRINT_TIP          65111
#define IDS_WALLPAPER_EDIT_TIP           65112
#define IDS_WALLPAPER_RESET_TIP          65113
#define IDS_WALLPAPER_DELETE_TIP         65114
#define IDS_WALLPAPER_COLOR_TIP          65115
#define IDS_WALLPAPER_NORMAL             65116
#define IDS_WALLPAPER_MOSAIC             65117
#define IDS_WALLPAPER_STRETCH            65118
#define IDS_WALLPAPER_BESTFIT            65119
#define IDS_WALLPAPER_WIDTH              65120
#define IDS_WALLPAPER_HEIGHT             65121
#define IDS_WALLPAPER_NONE               65122  // "(none)"
#define IDS_WALLPAPER_STATUS             65123  // file name, width, height
#define IDS_WALLPAPER_REPORT_TITLE       65124  // the picture's description
#define IDS_WALLPAPER_NO_SIZE            65125  // "---"
#define IDS_WALLPAPER_MODE_GROUP         65126
#define IDS_WALLPAPER_SIZE_GROUP         65127
#define IDS_WALLPAPER_PICTURE_LABEL      65128
#define IDS_WALLPAPER_TARGET_LABEL       65129
#define IDS_WALLPAPER_SCREEN_LABEL       65130
#define IDS_WALLPAPER_SCREEN_SIZE        65131  // width, height
#define IDS_WALLPAPER_COLOR_LABEL        65132
#define IDS_WALLPAPER_CANNOT_SET         65133  // the path the system refused
#define IDS_EDITOR_NOT_INSTALLED         65140
#define IDS_EDITOR_DOWNLOAD_ADDRESS      65141

// System pictures (module 1): the start-up, end and stop pictures. The end-to-end and view
// tests read these ids.
#define IDD_SYSPICTURE                   448
#define IDC_SYSPICTURE_TABS              1000  // "Startup Picture", "End Picture", "Stop Picture"
#define IDC_SYSPICTURE_PREVIEW           1001  // the picture control
#define IDC_SYSPICTURE_STATUS            1002  // "(none)" or "name (WxH)"
#define IDC_SYSPICTURE_LOAD              1003
#define IDC_SYSPICTURE_RESET             1004
#define IDC_SYSPICTURE_DELETE            1005
#define IDC_SYSPICTURE_APPLY             1006
#define IDC_SYSPICTURE_EDIT              1007
#define IDC_SYSPICTURE_VIEW              1008
#define IDC_SYSPICTURE_PRINT             1009
#define IDC_SYSPICTURE_RESIZE_GROUP      1010
#define IDC_SYSPICTURE_NORMAL            1011  // the four resize radios, in the order of "ResizeMode"
#define IDC_SYSPICTURE_STRETCH           1012
#define IDC_SYSPICTURE_BESTFIT           1013
#define IDC_SYSPICTURE_MOSAIC            1014
#define IDC_SYSPICTURE_DITHERING_LABEL   1015
#define IDC_SYSPICTURE_DITHERING         1016  // combo, item data = "DitheringMode"
#define IDC_SYSPICTURE_BACKGROUND_LABEL  1017
#define IDC_SYSPICTURE_BACKGROUND        1018  // colour button
#define IDC_SYSPICTURE_BAR_GROUP         1019
#define IDC_SYSPICTURE_ENABLE_BAR        1020
#define IDC_SYSPICTURE_COLOURS_LABEL     1021
#define IDC_SYSPICTURE_COLOURS           1022  // "Gradient size" edit and its spin
#define IDC_SYSPICTURE_COLOURS_SPIN      1023
#define IDC_SYSPICTURE_ORIENTATION_LABEL 1024
#define IDC_SYSPICTURE_ORIENTATION       1025  // combo, item data = orientation
#define IDC_SYSPICTURE_LEFT_LABEL        1026
#define IDC_SYSPICTURE_LEFT              1027  // the bar rectangle's edits and spins
#define IDC_SYSPICTURE_LEFT_SPIN         1028
#define IDC_SYSPICTURE_TOP_LABEL         1029
#define IDC_SYSPICTURE_TOP               1030
#define IDC_SYSPICTURE_TOP_SPIN          1031
#define IDC_SYSPICTURE_RIGHT_LABEL       1032
#define IDC_SYSPICTURE_RIGHT             1033
#define IDC_SYSPICTURE_RIGHT_SPIN        1034
#define IDC_SYSPICTURE_BOTTOM_LABEL      1035
#define IDC_SYSPICTURE_BOTTOM            1036
#define IDC_SYSPICTURE_BOTTOM_SPIN       1037
#define IDC_SYSPICTURE_FIRST_LABEL       1038
#define IDC_SYSPICTURE_FIRST             1039  // colour buttons of the gradient
#define IDC_SYSPICTURE_SECOND_LABEL      1040
#define IDC_SYSPICTURE_SECOND            1041
#define IDS_SYSPICTURE_STARTUP           65360
#define IDS_SYSPICTURE_END               65361
#define IDS_SYSPICTURE_STOP              65362
#define IDS_SYSPICTURE_LOAD              65363
#define IDS_SYSPICTURE_RESET             65364
#define IDS_SYSPICTURE_DELETE            65365
#define IDS_SYSPICTURE_APPLY             65366
#define IDS_SYSPICTURE_EDIT              65367
#define IDS_SYSPICTURE_VIEW              65368
#define IDS_SYSPICTURE_PRINT             65369
#define IDS_SYSPICTURE_RESIZE_GROUP      65370
#define IDS_SYSPICTURE_NORMAL            65371
#define IDS_SYSPICTURE_STRETCH           65372
#define IDS_SYSPICTURE_BESTFIT           65373
#define IDS_SYSPICTURE_MOSAIC            65374
#define IDS_SYSPICTURE_DITHERING_LABEL   65375
#define IDS_SYSPICTURE_ERROR_DITHERING   65376  // the three dithering modes, in stored order
#define IDS_SYSPICTURE_NO_DITHERING      65377
#define IDS_SYSPICTURE_GREY_SCALE        65378
#define IDS_SYSPICTURE_BACKGROUND_LABEL  65379
#define IDS_SYSPICTURE_BAR_GROUP         65380
#define IDS_SYSPICTURE_ENABLE_BAR        65381
#define IDS_SYSPICTURE_COLOURS_LABEL     65382
#define IDS_SYSPICTURE_ORIENTATION_LABEL 65383
#define IDS_SYSPICTURE_LEFT_TO_RIGHT     65384  // the four orientations, in list order
#define IDS_SYSPICTURE_RIGHT_TO_LEFT     65385
#define IDS_SYSPICTURE_TOP_TO_BOTTOM     65386
#define IDS_SYSPICTURE_BOTTOM_TO_TOP     65387
#define IDS_SYSPICTURE_LEFT_LABEL        65388
#define IDS_SYSPICTURE_TOP_LABEL         65389
#define IDS_SYSPICTURE_RIGHT_LABEL       65390
#define IDS_SYSPICTURE_BOTTOM_LABEL      65391
#define IDS_SYSPICTURE_FIRST_LABEL       65392
#define IDS_SYSPICTURE_SECOND_LABEL      65393
#define IDS_SYSPICTURE_FIRST_TIP         65394
#define IDS_SYSPICTURE_SECOND_TIP        65395
#define IDS_SYSPICTURE_BACKGROUND_TIP    65396
#define IDS_SYSPICTURE_ENABLE_BAR_TIP    65397
#define IDS_SYSPICTURE_COLOURS_TIP       65398
#define IDS_SYSPICTURE_LOAD_TITLE        65399  // the open dialog's title
#define IDS_SYSPICTURE_NONE              65400  // "(none)"
#define IDS_SYSPICTURE_STATUS            65401  // file name, width, height
#define IDS_SYSPICTURE_REPORT_TITLE      65402  // file name of the picture's description
#define IDS_SYSPICTURE_PREPARING         65403
#define IDS_SYSPICTURE_CANNOT_WRITE      65404  // the path
#define IDS_SYSPICTURE_CANNOT_REMOVE     65405  // the path

// Scanner acquisition (module 16): its form and the TWAIN error texts. The end-to-end and
// view tests read these ids.
#define IDD_ACQUIRE                      470
#define IDC_ACQUIRE_TABS                 1000  // one tab per acquired picture
#define IDC_ACQUIRE_PREVIEW              1001  // the picture control
#define IDC_ACQUIRE_ACQUIRE              1002  // "&Acquire..."
#define IDC_ACQUIRE_SELECT               1003  // "Se&lect source..."
#define IDC_ACQUIRE_SAVE                 1004
#define IDC_ACQUIRE_COPY                 1005
#define IDC_ACQUIRE_VIEW                 1006
#define IDC_ACQUIRE_PRINT                1007
#define IDC_ACQUIRE_EDIT                 1008
#define IDC_ACQUIRE_DELETE               1009
#define IDC_ACQUIRE_WIDTH_LABEL          1010
#define IDC_ACQUIRE_WIDTH                1011  // the current picture's width, or "---"
#define IDC_ACQUIRE_HEIGHT_LABEL         1012
#define IDC_ACQUIRE_HEIGHT               1013
#define IDS_ACQUIRE_ACQUIRE              65440
#define IDS_ACQUIRE_SELECT               65441
#define IDS_ACQUIRE_SAVE                 65442
#define IDS_ACQUIRE_COPY                 65443
#define IDS_ACQUIRE_VIEW                 65444
#define IDS_ACQUIRE_PRINT                65445
#define IDS_ACQUIRE_EDIT                 65446
#define IDS_ACQUIRE_DELETE               65447
#define IDS_ACQUIRE_ACQUIRE_TIP          65448
#define IDS_ACQUIRE_SELECT_TIP           65449
#define IDS_ACQUIRE_WIDTH                65450
#define IDS_ACQUIRE_HEIGHT               65451
#define IDS_ACQUIRE_NO_SIZE              65452  // "---"
#define IDS_ACQUIRE_SAVE_TITLE           65453
#define IDS_ACQUIRE_SAVE_FILTER          65454  // "|"-separated, ends with "||"
#define IDS_ACQUIRE_SAVING               65455
#define IDS_ACQUIRE_PAGE                 65456  // a tab's label: the picture's number
#define IDS_TWAIN_ERROR_FORMAT           65460  // the error number, its text
#define IDS_TWAIN_NO_MANAGER             65461  // error 0
#define IDS_TWAIN_NO_SOURCE              65462  // error 1
#define IDS_TWAIN_NO_ENABLE              65463  // error 2
#define IDS_TWAIN_UNKNOWN_ERROR          65464

// ---- Screen capture (module 15): its form, texts, tips and hot key names ----
// The form's control ids are read by the tests. The three kind radios follow each other.
#define IDD_CAPTURE                      447
#define IDC_CAPTURE_KEY                  1000  // "Hot Key :" list (item data: virtual-key code)
#define IDC_CAPTURE_KEY_LABEL            1001
#define IDC_CAPTURE_MODIFIERS            1002  // heading "Modifiers"
#define IDC_CAPTURE_ALT                  1003
#define IDC_CAPTURE_SHIFT                1004
#define IDC_CAPTURE_CTRL                 1005
#define IDC_CAPTURE_KIND                 1006  // heading "Capture"
#define IDC_CAPTURE_FULL_SCREEN          1007
#define IDC_CAPTURE_WINDOW               1008
#define IDC_CAPTURE_CLIENT               1009
#define IDC_CAPTURE_MULTIPLE             1010
#define IDC_CAPTURE_START                1011
#define IDC_CAPTURE_SAVE                 1012
#define IDC_CAPTURE_COPY                 1013
#define IDC_CAPTURE_VIEW                 1014
#define IDC_CAPTURE_PRINT                1015
#define IDC_CAPTURE_DELETE               1016
#define IDC_CAPTURE_TABS                 1017  // one tab per capture
#define IDC_CAPTURE_PREVIEW              1018  // the current capture
#define IDS_CAPTURE_REPORT_TITLE         65300
#define IDS_CAPTURE_HOT_KEY              65301
#define IDS_CAPTURE_MODIFIERS            65302
#define IDS_CAPTURE_ALT                  65303
#define IDS_CAPTURE_SHIFT                65304
#define IDS_CAPTURE_CTRL                 65305
#define IDS_CAPTURE_KIND                 65306
#define IDS_CAPTURE_FULL_SCREEN          65307
#define IDS_CAPTURE_WINDOW               65308
#define IDS_CAPTURE_CLIENT               65309
#define IDS_CAPTURE_MULTIPLE             65310
#define IDS_CAPTURE_COPY                 65311
#define IDS_CAPTURE_VIEW                 65312
#define IDS_CAPTURE_PRINT                65313
#define IDS_CAPTURE_DELETE               65314
#define IDS_CAPTURE_TAB                  65315  // %d: the capture's number
#define IDS_CAPTURE_SAVING               65316  // %s: the file name
#define IDS_TIP_CAPTURE_START            65317
#define IDS_TIP_CAPTURE_VIEW             65318
#define IDS_TIP_CAPTURE_SAVE             65319
#define IDS_TIP_CAPTURE_PRINT            65320
#define IDS_TIP_CAPTURE_DELETE           65321
#define IDS_TIP_CAPTURE_COPY             65322
#define IDS_TIP_CAPTURE_MULTIPLE         65323
#define IDS_TIP_CAPTURE_KEY              65324
#define IDS_CAPTURE_KEY_PRINT_SCREEN     65325
#define IDS_CAPTURE_KEY_LEFT_BUTTON      65326
#define IDS_CAPTURE_KEY_RIGHT_BUTTON     65327
#define IDS_CAPTURE_KEY_FUNCTION         65328  // %d: 1 to 12
#define IDS_CAPTURE_KEY_TAB              65329
#define IDS_CAPTURE_KEY_ENTER            65330
#define IDS_CAPTURE_KEY_ESCAPE           65331
#define IDS_CAPTURE_KEY_SPACE            65332

// Package archives (type "ZIP", delta-coded), packed at build time from res/help/ and res/panel/
#define IDR_ZIP_HELP_FILES               365  // files of the "help" folder (style sheet, pictures)
#define IDR_ZIP_HELP_EN                  366  // English pages of "help\local"
#define IDR_ZIP_HELP_FR                  367  // French pages of "help\local"
#define IDR_ZIP_PANEL                    380  // pages and pictures of the online panel

// ---- Product install and uninstall: the setup screen, the wizard's options page, progress ----
#define IDD_SETUP_SCREEN                 360   // borderless backdrop covering the screen
#define IDD_SETUP_PREFERENCES            1048  // the wizard's page "Options - [Quenta Setup]"
#define IDC_SETUP_FOLDER                 1004  // read-only installation folder
#define IDC_SETUP_BROWSE                 1003  // "..."
#define IDC_SETUP_ENGLISH                1190  // "English Version", selected at start
#define IDC_SETUP_FRENCH                 1189  // "French Version"
#define IDC_SETUP_AVAILABLE_LABEL        1119  // "Available space on drive %c :"
#define IDC_SETUP_AVAILABLE              1026  // free space of the folder's drive
#define IDC_SETUP_NEEDED_LABEL           1121  // "Space needed"
#define IDC_SETUP_NEEDED                 1027  // space needed
#define IDC_SETUP_FOLDER_LABEL           1122
#define IDC_SETUP_LANGUAGE_GROUP         1123
#define IDD_SETUP_PROGRESS               257   // "Quenta Setup" / "Quenta Uninstaller"
#define IDC_SETUP_PROGRESS_BAR           1211  // 0 to 100
#define IDC_SETUP_PROGRESS_CANCEL        1191  // "&Cancel"
#define IDC_SETUP_PROGRESS_TEXT          1085  // the current step, path ellipsis
#define IDS_SETUP_OPTIONS_TITLE          64960
#define IDS_SETUP_FOLDER_LABEL           64961
#define IDS_SETUP_ENGLISH                64962
#define IDS_SETUP_FRENCH                 64963
#define IDS_SETUP_SPACE_NEEDED           64964
#define IDS_SETUP_BROWSE                 64965
#define IDS_SETUP_CHOOSE_FOLDER          64966
#define IDS_SETUP_LANGUAGE_GROUP         64967
#define IDS_SETUP_CANCEL                 64968
#define IDS_SETUP_COPY_FAILED            64969  // %s: the program's target path

// Online news panel (module 18)
#define IDS_PANEL_UNREADABLE             64990
