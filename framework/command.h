#pragma once
// Command routing: a command id goes to the active view first, then to the frame. Each
// target keeps its commands in one table: the id, the member that runs it and the member
// that says whether it is enabled (none: always enabled).
#include <windows.h>

#include <cstddef>
#include <optional>

class CCommandTarget {
public:
    virtual ~CCommandTarget() = default;
    // True when this target owns the command (it ran, or was ignored because disabled).
    virtual bool RunCommand(UINT id) { (void)id; return false; }
    // Whether the command is enabled; nothing when this target does not own it.
    virtual std::optional<bool> IsCommandEnabled(UINT id) { (void)id; return std::nullopt; }
};

template <class T>
struct CommandEntry {
    UINT id;
    void (T::*run)();
    bool (T::*enabled)(); // null: always enabled
};

template <class T, size_t N>
bool RunCommandFromTable(T& self, const CommandEntry<T> (&table)[N], UINT id)
{
    for (const CommandEntry<T>& entry : table) {
        if (entry.id != id)
            continue;
        if (!entry.enabled || (self.*entry.enabled)())
            (self.*entry.run)();
        return true;
    }
    return false;
}

template <class T, size_t N>
std::optional<bool> CommandStateFromTable(T& self, const CommandEntry<T> (&table)[N], UINT id)
{
    for (const CommandEntry<T>& entry : table)
        if (entry.id == id)
            return entry.enabled ? (self.*entry.enabled)() : true;
    return std::nullopt;
}

// Standard command ids of the framework.
enum : UINT {
    ID_FILE_PRINT_SETUP = 0xE106,
    ID_FILE_PRINT = 0xE107,
    ID_FILE_PRINT_DIRECT = 0xE108,
    ID_FILE_PRINT_PREVIEW = 0xE109,
    ID_APP_ABOUT = 0xE140,
    ID_APP_EXIT = 0xE141,
};

// Control and pane ids of the framework.
enum : UINT {
    AFX_IDW_STATUS_BAR = 0xE801,
    AFX_IDW_PANE_FIRST = 0xE900,
};

// Framework message ids (string table).
enum : UINT {
    AFX_IDP_FAILED_TO_START_PRINT = 0xF106, // 61702 "Could not start print job."
    AFX_IDS_IDLEMESSAGE = 0xE001,
};
