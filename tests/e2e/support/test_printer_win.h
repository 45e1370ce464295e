#pragma once
// A PostScript printer for the test prefix (a new prefix has none): Wine's generic driver with
// the PPD that winspool.drv carries, on port FILE:, made the default printer. Each test names
// its own printer and PPD file, so that tests running side by side leave each other alone.
#include <windows.h>

#include <winspool.h>

#include <cstdio>
#include <string>

namespace e2e {
inline void RemoveTestPrinter(const std::string& printerName)
{
    PRINTER_DEFAULTSA access{};
    access.DesiredAccess = PRINTER_ALL_ACCESS;
    HANDLE printer = nullptr;
    std::string name = printerName;
    if (OpenPrinterA(name.data(), &printer, &access)) {
        DeletePrinter(printer);
        ClosePrinter(printer);
    }
}

// `ppdFile` is the file name the PPD gets in the printer driver folder.
inline bool AddTestPrinter(const std::string& printerName, const std::string& ppdFile)
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
    const std::string ppdPath = std::string(directory) + "\\" + ppdFile;
    std::FILE* out = std::fopen(ppdPath.c_str(), "wb");
    if (!out)
        return false;
    std::fwrite(ppd, 1, ppdSize, out);
    std::fclose(out);

    std::string name = printerName;
    char driver[] = "wineps.drv", port[] = "FILE:", processor[] = "winprint", datatype[] = "RAW";
    DRIVER_INFO_3A info{};
    info.cVersion = 3;
    info.pName = name.data();
    info.pEnvironment = environment;
    info.pDriverPath = driver;
    info.pDataFile = const_cast<char*>(ppdPath.c_str());
    info.pConfigFile = driver;
    if (!AddPrinterDriverExA(nullptr, 3, reinterpret_cast<BYTE*>(&info), APD_COPY_NEW_FILES))
        return false;
    PRINTER_INFO_2A printer{};
    printer.pPrinterName = name.data();
    printer.pPortName = port;
    printer.pDriverName = name.data();
    printer.pPrintProcessor = processor;
    printer.pDatatype = datatype;
    HANDLE handle = AddPrinterA(nullptr, 2, reinterpret_cast<BYTE*>(&printer));
    if (!handle)
        return false;
    ClosePrinter(handle);
    return SetDefaultPrinterA(name.c_str()) != FALSE;
}
} // namespace e2e
