#include "views/paint_objects.h"

namespace {

HGDIOBJ paintObjects[paintObjectSlots];

}  // namespace

HGDIOBJ keepPaintObject(HGDIOBJ object)
{
    if (!object)
        return object;
    for (HGDIOBJ& slot : paintObjects) {
        if (!slot) {
            slot = object;
            return object;
        }
    }
    // No paint makes more than the table holds; should one ever do, the
    // surplus is not kept and leaks rather than being deleted while selected.
    return object;
}

void releasePaintObjects()
{
    for (HGDIOBJ& slot : paintObjects) {
        if (slot)
            DeleteObject(slot);
        slot = nullptr;
    }
}
