#pragma once
// Resource ids shared by the .rc files and the code.

#define IDR_MAINFRAME 128
#define IDS_APP_TITLE 128
