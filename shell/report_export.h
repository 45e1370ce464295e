#pragma once
// "Save List To Disk": a report list written as text (blank-separated, padded columns), CSV
// or an HTML table, in the bytes the list holds, with CR LF line ends.
#include <string>

#include "shell/list_print_settings.h"

class CQnProgress;
class CReportModel;

enum class ExportFormat { Text, Csv, Html };
enum class ExportResult { Written, Cancelled, Failed };

// By the file's extension, any case: "htm"/"html" HTML, "csv" CSV, anything else text.
ExportFormat ExportFormatOfPath(const std::string& path);

// separator ' ' writes the padded text layout, ',' CSV. A cancel keeps the lines written.
ExportResult SaveReportAsText(const CReportModel& list, const std::string& path, char separator,
                              CQnProgress& progress);
// Builds the whole page first; a cancel writes nothing.
ExportResult SaveReportAsHtml(const CReportModel& list, const std::string& path,
                              const ListPrintSettings& settings, CQnProgress& progress);
ExportResult SaveReport(const CReportModel& list, const std::string& path, CQnProgress& progress);
