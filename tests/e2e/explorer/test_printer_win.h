#pragma once
// A PostScript printer for the test prefix (a new prefix has none): Wine's generic driver with
// the PPD that winspool.drv carries, on port FILE:, made the default printer.
#include <windows.h>

#include <winspool.h>

#include <cstdio>
#include <string>

namespace e2e {
inline constexpr char kTestPrinter[] = "Quenta Explorer Test PostScript";

inline void RemoveTestPrinter()
{
    PRINTER_DEFAULTSA access{};
    access.DesiredAccess = PRINTER_ALL_ACCESS;
    HANDLE printer = nullptr;
    char name[sizeof kTestPrinter];
    std::snprintf(name, sizeof name, "%s", kTestPrinter);
    if (OpenPrinterA(name, &printer, &access)) {
        DeletePrinter(printer);
        ClosePrinter(printer);
    }
}

inline bool AddTestPrinter()
{
    HMODULE winspool = LoadLibraryExA("winspool.drv", nullptr, LOAD_LIBRARY_AS_DATAFILE);
    HRSRC resource = winspool ? FindResourceA(winspool, MAKEINTRESOURCEA(1), "PPDFILE") : nullptr;
    if (!resource)
        return false;
    const void* ppd = LockResource(LoadResource(winspool, resource));
    const DWORD ppdSize = SizeofResource(winspool, resource);
    char environment[] = "Windows x64";
    char directory[MAX_PATH] = "";
    DWORD needed = 0;
    GetPrinterDriverDirectoryA(nullptr, environment, 1, reinterpret_cast<BYTE*>(directory), sizeof directory, &needed);
    const std::string ppdPath = std::string(directory) + "\\quenta_explorer_test.ppd";
    std::FILE* out = std::fopen(ppdPath.c_str(), "wb");
    if (!out)
        return false;
    std::fwrite(ppd, 1, ppdSize, out);
    std::fclose(out);

    char name[sizeof kTestPrinter], driver[] = "wineps.drv", port[] = "FILE:", processor[] = "winprint",
                                    datatype[] = "RAW";
    std::snprintf(name, sizeof name, "%s", kTestPrinter);
    DRIVER_INFO_3A info{};
    info.cVersion = 3;
    info.pName = name;
    info.pEnvironment = environment;
    info.pDriverPath = driver;
    info.pDataFile = const_cast<char*>(ppdPath.c_str());
    info.pConfigFile = driver;
    if (!AddPrinterDriverExA(nullptr, 3, reinterpret_cast<BYTE*>(&info), APD_COPY_NEW_FILES))
        return false;
    PRINTER_INFO_2A printer{};
    printer.pPrinterName = name;
    printer.pPortName = port;
    printer.pDriverName = name;
    printer.pPrintProcessor = processor;
    printer.pDatatype = datatype;
    HANDLE handle = AddPrinterA(nullptr, 2, reinterpret_cast<BYTE*>(&printer));
    if (!handle)
        return false;
    ClosePrinter(handle);
    return SetDefaultPrinterA(name) != FALSE;
}
} // namespace e2e
