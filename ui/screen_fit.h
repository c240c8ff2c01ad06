#pragma once
// Where a top-level window opens so that the user sees all of it.
#include <windows.h>

namespace ui {

// `wanted` where it lies inside `workArea`; moved in where it does not; made
// smaller only where the work area is, never below `smallest` (a window
// larger than the work area even then keeps its top left corner on it).
RECT FitIntoWorkArea(const RECT& wanted, const RECT& workArea, SIZE smallest);

}  // namespace ui
