#pragma once
// Print preview: the document's pages, drawn by its own print code into enhanced metafiles
// against the printer device, scaled into the frame's view area; previous/next page, one or
// two pages, zoom, print and close.
#include "framework/frame.h"
#include "framework/print.h"

// Shows the preview in place of the frame's view; false when it cannot start (no printer:
// the user is told, 61702).
bool RunPrintPreview(CFrameWindow& frame, IPrintable& document);
// Closes an open preview of the frame (before its view goes away).
void ClosePrintPreview(CFrameWindow& frame);
