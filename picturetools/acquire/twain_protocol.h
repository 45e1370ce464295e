#pragma once
// The TWAIN protocol as far as this program speaks it: the data groups, argument types,
// messages and return codes of the calls it makes, and the structures they carry, laid out
// as the data source manager expects them (two-byte packing; handles and pointers at their
// native size). Portable: no system header; the Windows side checks the layout.
#include <cstddef>
#include <cstdint>
#include <cstring>

namespace twain {

// Data groups
constexpr uint32_t DG_CONTROL = 0x0001;
constexpr uint32_t DG_IMAGE = 0x0002;

// Data argument types
constexpr uint16_t DAT_NULL = 0x0000;
constexpr uint16_t DAT_EVENT = 0x0002;
constexpr uint16_t DAT_IDENTITY = 0x0003;
constexpr uint16_t DAT_PARENT = 0x0004;
constexpr uint16_t DAT_PENDINGXFERS = 0x0005;
constexpr uint16_t DAT_STATUS = 0x0008;
constexpr uint16_t DAT_USERINTERFACE = 0x0009;
constexpr uint16_t DAT_IMAGENATIVEXFER = 0x0104;

// Messages
constexpr uint16_t MSG_NULL = 0x0000;
constexpr uint16_t MSG_GET = 0x0001;
constexpr uint16_t MSG_GETDEFAULT = 0x0003;
constexpr uint16_t MSG_GETFIRST = 0x0004;
constexpr uint16_t MSG_GETNEXT = 0x0005;
constexpr uint16_t MSG_RESET = 0x0007;
constexpr uint16_t MSG_XFERREADY = 0x0101;
constexpr uint16_t MSG_CLOSEDSREQ = 0x0102;
constexpr uint16_t MSG_CLOSEDSOK = 0x0103;
constexpr uint16_t MSG_OPENDSM = 0x0301;
constexpr uint16_t MSG_CLOSEDSM = 0x0302;
constexpr uint16_t MSG_OPENDS = 0x0401;
constexpr uint16_t MSG_CLOSEDS = 0x0402;
constexpr uint16_t MSG_USERSELECT = 0x0403;
constexpr uint16_t MSG_DISABLEDS = 0x0501;
constexpr uint16_t MSG_ENABLEDS = 0x0502;
constexpr uint16_t MSG_PROCESSEVENT = 0x0601;
constexpr uint16_t MSG_ENDXFER = 0x0701;

// Return codes
constexpr uint16_t TWRC_SUCCESS = 0;
constexpr uint16_t TWRC_FAILURE = 1;
constexpr uint16_t TWRC_CHECKSTATUS = 2;
constexpr uint16_t TWRC_CANCEL = 3;
constexpr uint16_t TWRC_DSEVENT = 4;
constexpr uint16_t TWRC_NOTDSEVENT = 5;
constexpr uint16_t TWRC_XFERDONE = 6;
constexpr uint16_t TWRC_ENDOFLIST = 7;

// Supported groups of an identity
constexpr uint32_t DG_CONTROL_AND_IMAGE = DG_CONTROL | DG_IMAGE;

#pragma pack(push, 2)
struct TwStr32 {
    char text[34];
};

struct TwVersion {
    uint16_t majorNum;
    uint16_t minorNum;
    uint16_t language;
    uint16_t country;
    TwStr32 info;
};

struct TwIdentity {
    uint32_t id;
    TwVersion version;
    uint16_t protocolMajor;
    uint16_t protocolMinor;
    uint32_t supportedGroups;
    TwStr32 manufacturer;
    TwStr32 productFamily;
    TwStr32 productName;
};

struct TwUserInterface {
    uint16_t showUI;
    uint16_t modalUI;
    void* parent; // the parent window
};

struct TwEvent {
    void* event; // the window system's message
    uint16_t message;
};

struct TwPendingXfers {
    uint16_t count; // 0xFFFF: an unknown number
    uint32_t reserved;
};
#pragma pack(pop)

static_assert(sizeof(TwStr32) == 34);
static_assert(sizeof(TwVersion) == 42);
static_assert(sizeof(TwIdentity) == 156);
static_assert(offsetof(TwIdentity, productName) == 122);
static_assert(offsetof(TwUserInterface, parent) == 4);
static_assert(offsetof(TwEvent, message) == sizeof(void*));
static_assert(sizeof(TwPendingXfers) == 6);

// The manager's single entry point.
using DsmEntryProc = uint16_t (*)(TwIdentity* origin, TwIdentity* destination, uint32_t group, uint16_t argument,
                                  uint16_t message, void* data);
// A data source's single entry point (what the manager calls).
using DsEntryProc = uint16_t (*)(TwIdentity* origin, uint32_t group, uint16_t argument, uint16_t message,
                                 void* data);

// Copies a text into a TWAIN string, cut to 33 characters and always terminated.
inline void SetTwainString(TwStr32& target, const char* text)
{
    std::memset(target.text, 0, sizeof target.text);
    std::strncpy(target.text, text, sizeof target.text - 1);
}

} // namespace twain
