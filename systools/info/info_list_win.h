#pragma once
// Fills a name/value report list with information rows: the name from the string table in the
// current language, the value as given, a separator as an empty row without an image. A row
// that names a folder shows that folder's shell icon.
#include "shell/report_list_win.h"
#include "systools/info/info_rows.h"

// Adds the "Name" and "Value" columns.
void AddNameValueColumns(CReportList& list, int nameWidth, int valueWidth);
void FillInfoList(CReportList& list, const InfoRows& rows);
// Gives the name column a third of the list's width and the value column the rest.
void FitNameValueColumns(CReportList& list);
