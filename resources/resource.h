// Identifiers of the program's resources and of every control of its windows.
// Each control ID is named after its control; one block of numbers per page or window.
// A path edit's browse button takes the edit's ID plus 5000, so control IDs stay below 5000.
#pragma once

#define IDI_APP 1
#define IDR_BANNER 10

// Pictures
#define IDB_FOLDER 100
#define IDB_BACKUPSET 101
#define IDB_WRONG 102
#define IDB_ABOUT 103
#define IDB_INFO 104
#define IDB_WARNING 105
#define IDB_ERROR 106
#define IDB_WARNING_SIGN 107
#define IDB_ERROR_SIGN 108
#define IDB_LOG 109
#define IDB_CLOSE 110
#define IDB_WAIT_BACKGROUND 111
#define IDB_ABOUT_BACKGROUND 112

// Main window
#define IDC_Banner 1900
#define IDC_Image28 1901
#define IDC_WelcomePanel 1902
#define IDC_BackupTabs 1903
#define IDC_RestoreTabs 1904
#define IDC_JobPanel 1905
#define IDC_CopyList 1906
#define IDC_RestoreCopyList 1907
#define IDC_FontsList 1908
#define IDC_ListBox 1909
#define IDC_ExplodeFolder 1910
#define IDC_UnicodeMemo 1911
#define IDC_AnsiMemo 1912
#define IDC_ImageInfo 1913
#define IDC_ImageWarning 1914
#define IDC_ImageError 1915

// Welcome page
#define IDC_WelcometoZevsHalvorkeep 1050
#define IDC_WhatToDo 1051
#define IDC_BackupData 1052
#define IDC_RestoreData 1053
#define IDC_WhereToBackup 1054
#define IDC_Image27 1055
#define IDC_StoragePathWrong 1056
#define IDC_StoragePath 1057
#define IDC_BackupInSubFolder 1058
#define IDC_Label8 1059
#define IDC_Image22 1060
#define IDC_BackupWrong 1061
#define IDC_BackupPath 1062
#define IDC_LanguageLabel 1063
#define IDC_SelectLanguage 1064
#define IDC_WelcomeNext 1065
#define IDC_WelcomeQuit 1066

// Backup page 1: personal folders
#define IDC_BackupTabSheet1 1100
#define IDC_Desktop 1101
#define IDC_DesktopPath 1102
#define IDC_DesktopWrong 1103
#define IDC_DesktopWallPaper 1104
#define IDC_Quicklaunch 1105
#define IDC_QuickLaunchPath 1106
#define IDC_QuicklaunchWrong 1107
#define IDC_MyDocuments 1108
#define IDC_MyDocumentsPath 1109
#define IDC_MyDocumentsWrong 1110
#define IDC_MyPictures 1111
#define IDC_MyPicturesPath 1112
#define IDC_MyPicturesWrong 1113
#define IDC_MyMusic 1114
#define IDC_MyMusicPath 1115
#define IDC_MyMusicWrong 1116
#define IDC_MyVideos 1117
#define IDC_MyVideosPath 1118
#define IDC_MyVideosWrong 1119
#define IDC_Backup1Previous 1120
#define IDC_Backup1Next 1121
#define IDC_Backup1Quit 1122

// Backup page 2: web browsers
#define IDC_BackupTabSheet2 1200
#define IDC_IEFavorites 1201
#define IDC_IEFavoritesPath 1202
#define IDC_IEFavoritesWrong 1203
#define IDC_IEStartPage 1204
#define IDC_Firefoxprofile 1205
#define IDC_FirefoxProfilesNames 1206
#define IDC_FirefoxProfileWrong 1207
#define IDC_FirefoxProfiles 1208
#define IDC_FFProfilesNames 1209
#define IDC_FirefoxProfilesPaths 1210
#define IDC_Button2 1211
#define IDC_Backup2Previous 1212
#define IDC_Backup2Next 1213
#define IDC_Backup2Quit 1214

// Backup page 3: mail 1/2
#define IDC_BackupTabSheet3 1300
#define IDC_LabelOE 1301
#define IDC_OEIdentitiesList 1302
#define IDC_IdentitiesWrong 1303
#define IDC_IdentitiesList 1304
#define IDC_IdentitiesPaths 1305
#define IDC_LabelOutlook 1306
#define IDC_PSTList 1307
#define IDC_PSTWrong 1308
#define IDC_SearchPST 1309
#define IDC_SelectPSTDrive 1310
#define IDC_SelectPST 1311
#define IDC_OutlookNk2 1312
#define IDC_OutlookNK2Path 1313
#define IDC_OutlookNk2Wrong 1314
#define IDC_Backup3Previous 1315
#define IDC_Backup3Next 1316
#define IDC_Backup3Quit 1317

// Backup page 4: mail 2/2
#define IDC_BackupTabSheet4 1400
#define IDC_WindowsMail 1401
#define IDC_WindowsMailPath 1402
#define IDC_WindowsMailWrong 1403
#define IDC_ThunderbirdProfile 1404
#define IDC_ThunderbirdProfilesNames 1405
#define IDC_ThunderbirdProfileWrong 1406
#define IDC_ThunderbirdProfiles 1407
#define IDC_TBProfilesNames 1408
#define IDC_ThunderbirdProfilesPaths 1409
#define IDC_Button1 1410
#define IDC_Wab 1411
#define IDC_WabPath 1412
#define IDC_WabWrong 1413
#define IDC_Backup4Previous 1414
#define IDC_Backup4Next 1415
#define IDC_Backup4Quit 1416

// Backup page 5: misc
#define IDC_BackupTabSheet5 1500
#define IDC_SharedDocuments 1501
#define IDC_SharedDocumentsPath 1502
#define IDC_SharedDocumentsWrong 1503
#define IDC_Fonts 1504
#define IDC_FontsPath 1505
#define IDC_FontsWrong 1506
#define IDC_WindowsCalendar 1507
#define IDC_WindowsCalendarPath 1508
#define IDC_WindowsCalendarWrong 1509
#define IDC_Rasphone 1510
#define IDC_RasPhonePath 1511
#define IDC_RasphoneWrong 1512
#define IDC_Backup5Previous 1513
#define IDC_Backup5Next 1514
#define IDC_Backup5Quit 1515

// Backup page 6: custom / launch
#define IDC_BackupTabSheet6 1600
#define IDC_Fichiers 1601
#define IDC_AdditionalFilesList 1602
#define IDC_RemoveAdditionalFile 1603
#define IDC_AddFiles 1604
#define IDC_Dossiers 1605
#define IDC_AdditionalDirectoriesList 1606
#define IDC_RemoveAdditionalDirectory 1607
#define IDC_AddDirectory 1608
#define IDC_Backup6Previous 1609
#define IDC_backup6Next 1610
#define IDC_Launch 1611
#define IDC_Backup6Quit 1612

// Job panel
#define IDC_JobLogLabel 1800
#define IDC_Image52 1801
#define IDC_Log 1802
#define IDC_TextLog 1803
#define IDC_ProgressBar 1804
#define IDC_CopyProgress 1805
#define IDC_WarningLabel 1806
#define IDC_WarningBMP 1807
#define IDC_Errorlabel 1808
#define IDC_ErrorBMP 1809
#define IDC_JobCancelButton 1810
#define IDC_JobPreviousButton 1811
#define IDC_JobQuitButton 1812

// Restore page 1: personal folders
#define IDC_RestoreTabSheet1 2000
#define IDC_RestoreDesktop 2001
#define IDC_RestoreWallPaper 2002
#define IDC_RestoreQuickLaunch 2003
#define IDC_RestoreMyDocuments 2004
#define IDC_RestoreMyPictures 2005
#define IDC_RestoreMyMusic 2006
#define IDC_RestoreMyVideos 2007
#define IDC_RestoreSharedDocs 2008
#define IDC_Restore1Previous 2009
#define IDC_Restore1Next 2010
#define IDC_Restore1Quit 2011

// Restore page 2: web browsers
#define IDC_RestoreTabSheet2 2100
#define IDC_RestoreIEFavorites 2101
#define IDC_RestoreIEStartPage 2102
#define IDC_RestoreFirefox 2103
#define IDC_RestoreFirefoxProfilesNames 2104
#define IDC_RestoreFFProfilesNames 2105
#define IDC_InstallFirefox 2106
#define IDC_FirefoxRestoreMode 2107
#define IDC_RestoreFirefoxDefault 2108
#define IDC_RestoreFirefoxOrigin 2109
#define IDC_Restore2Previous 2110
#define IDC_Restore2Next 2111
#define IDC_Restore2Quit 2112

// Restore page 3: mail 1/2
#define IDC_RestoreTabSheet3 2200
#define IDC_RestoreOEIdentities 2201
#define IDC_restoreOEIdentitiesList 2202
#define IDC_RestoreOEVista 2203
#define IDC_RestoreOutlookPST 2204
#define IDC_RestoreOutlookPSTList 2205
#define IDC_RestoreWindowsMail 2206
#define IDC_RestoreWab 2207
#define IDC_RestoreNK2 2208
#define IDC_Restore3Previous 2209
#define IDC_Restore3Next 2210
#define IDC_Restore3Quit 2211

// Restore page 4: mail 2/2
#define IDC_RestoreTabSheet4 2300
#define IDC_RestoreThunderbird 2301
#define IDC_RestoreThunderbirdProfilesNames 2302
#define IDC_RestoreTBProfilesNames 2303
#define IDC_InstallThunderbird 2304
#define IDC_ThunderbirdRestoreMode 2305
#define IDC_RestoreThunderbirdDefault 2306
#define IDC_RestoreThunderbirdOrigin 2307
#define IDC_Restore4Previous 2308
#define IDC_Restore4Next 2309
#define IDC_Restore4Quit 2310

// Restore page 5: misc
#define IDC_RestoreTabSheet5 2400
#define IDC_RestoreFonts 2401
#define IDC_RestoreWindowsCalendar 2402
#define IDC_RestoreRasPhone 2403
#define IDC_Restore5Previous 2404
#define IDC_Restore5Next 2405
#define IDC_Restore5Quit 2406

// Restore page 6: custom / launch
#define IDC_RestoreTabSheet6 2500
#define IDC_RestoreAdditionalFiles 2501
#define IDC_restoreAdditionalFilesList 2502
#define IDC_RestoreFilesOrigin 2503
#define IDC_RestoreFilesOther 2504
#define IDC_RestoreFilesDirectory 2505
#define IDC_SelectFilesButton 2506
#define IDC_RestoreAdditionalFolders 2507
#define IDC_RestoreAdditionalDirectoriesList 2508
#define IDC_RestoreFoldersOrigin 2509
#define IDC_RestoreFoldersOther 2510
#define IDC_RestoreFoldersDirectory 2511
#define IDC_SelectFoldersButton 2512
#define IDC_Restore6Previous 2513
#define IDC_LaunchRestore 2514
#define IDC_Restore6Quit 2515

// Please-wait window
#define IDC_Form2JvFormWallpaper1 3000
#define IDC_Form2Label1 3001
#define IDC_Form2Label2 3002
#define IDC_Form2JvWaitingProgress1 3003

// About window
#define IDC_Form3JvFormWallpaper1 3100
#define IDC_Form3Label1 3101
#define IDC_Form3Label4 3102
#define IDC_Form3Image1 3103
#define IDC_Form3Label3 3104
#define IDC_Form3Label5 3105
#define IDC_Form3Label6 3106
#define IDC_Form3Label7 3107
