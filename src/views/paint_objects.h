// The brushes, pens and fonts a paint makes are kept in one table and
// deleted together once the paint is over, so no paint path can leak one.
#pragma once

#include <windows.h>

// Room for the objects of one paint.
inline constexpr int paintObjectSlots = 20;

// Keeps object for releasePaintObjects and returns it.  The paint must have
// selected it out of every device context again before the release.
HGDIOBJ keepPaintObject(HGDIOBJ object);

// Deletes every kept object and empties the table; called after each paint.
void releasePaintObjects();
