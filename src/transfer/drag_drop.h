// OLE drag and drop: text dragged out of the Overview (marked entries) or
// the Data view (selected text) to any drop target, this program's own Data
// view included, and text or a file dropped into the Data view from other
// programs.  The Overview is no drop target.
#pragma once

#include <windows.h>

#include "transfer/drop_text.h"

// Runs the system's drag loop for the view's marked block or selection:
// copy only from the Overview, copy or move from the Data view.  A move
// removes the block from the view afterwards.  Returns when the drag ended.
void startDrag(DragOrigin origin);

// Registers the Data view window as a drop target (after OLE is
// initialised) and takes it back before the window goes.
void registerDataViewDropTarget(HWND dataView);
void revokeDataViewDropTarget(HWND dataView);

// The drop target itself, for tests that drop without a mouse.
IDropTarget* dataViewDropTarget();
