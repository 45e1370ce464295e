#pragma once
// The attribute boxes of the properties dialog and the attributes their Apply sets.
#include <cstdint>

struct AttributeBoxes {
    bool readOnly = false;
    bool hidden = false;
    bool archive = false;
    bool system = false; // shown only: the box cannot be changed
};

// The boxes showing FolderEntryAttribute bits.
AttributeBoxes BoxesOf(uint32_t attributes);

// The attributes Apply sets: read-only, hidden and archive exactly as the boxes show, system as
// the file has it now; every other attribute is cleared.
uint32_t AppliedAttributes(const AttributeBoxes& boxes, uint32_t currentAttributes);
