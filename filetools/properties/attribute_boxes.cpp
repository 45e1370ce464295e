#include "filetools/properties/attribute_boxes.h"

#include "app/folder_listing.h"

AttributeBoxes BoxesOf(uint32_t attributes)
{
    AttributeBoxes boxes;
    boxes.readOnly = (attributes & kAttributeReadOnly) != 0;
    boxes.hidden = (attributes & kAttributeHidden) != 0;
    boxes.archive = (attributes & kAttributeArchive) != 0;
    boxes.system = (attributes & kAttributeSystem) != 0;
    return boxes;
}

uint32_t AppliedAttributes(const AttributeBoxes& boxes, uint32_t currentAttributes)
{
    uint32_t attributes = currentAttributes & kAttributeSystem;
    if (boxes.readOnly) attributes |= kAttributeReadOnly;
    if (boxes.hidden) attributes |= kAttributeHidden;
    if (boxes.archive) attributes |= kAttributeArchive;
    return attributes;
}
