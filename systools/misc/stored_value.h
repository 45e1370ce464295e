#pragma once
// A registry value taken exactly as stored (present or not, its type and its bytes), so that
// a setting can be put back as it was, and writes that change nothing can be left out.
#include <cstdint>
#include <string>
#include <vector>

#include "app/registry_key.h"

// Where a value lives; an empty name is the key's default value.
struct ValueAddress {
    RegRoot root = RegRoot::CurrentUser;
    std::string key;
    std::string name;
    bool operator==(const ValueAddress&) const = default;
};

struct StoredValue {
    bool present = false;
    uint32_t type = kRegNone;
    std::vector<uint8_t> data;
    // Whether the value's key existed when it was read: putting back a missing value also
    // removes its key when that is left empty and was not there.
    bool keyExisted = false;
    // The same value (where the key stood does not matter).
    bool operator==(const StoredValue& other) const
    {
        return present == other.present && type == other.type && data == other.data;
    }

    static StoredValue Missing() { return {}; }
    static StoredValue Text(const std::string& text); // REG_SZ with its terminating zero
    static StoredValue Dword(uint32_t value);
    bool IsText() const { return present && (type == kRegString || type == kRegExpandString); }
    // The text of a REG_SZ or REG_EXPAND_SZ value up to its first zero; `fallback` for a
    // missing value or one of another type.
    std::string TextOr(const std::string& fallback) const;
};

// Reads the value as stored; Missing when the key or the value is absent.
StoredValue ReadStoredValue(const ValueAddress& at);

// Makes the value hold `value` (a Missing value is deleted, and its key too when the value
// was read from no key and the key is now empty; missing keys are created only for a present
// value). Nothing is written when the value already holds exactly that. A text
// written over an expandable text keeps the expandable type. True when the value ends as asked.
bool WriteStoredValue(const ValueAddress& at, const StoredValue& value);
