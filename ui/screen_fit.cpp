#include "ui/screen_fit.h"

#include <algorithm>

namespace ui {
namespace {

struct Span {
    LONG start, length;
};

// One axis: the length shrinks to the room there is, not below `smallest`;
// the start moves in from the far edge first, then from the near one.
Span FitSpan(Span wanted, LONG roomStart, LONG roomEnd, LONG smallest) {
    const LONG room = roomEnd - roomStart;
    const LONG length = wanted.length <= room ? wanted.length : std::max(room, std::min(smallest, wanted.length));
    LONG start = std::min(wanted.start, roomEnd - length);
    start = std::max(start, roomStart);
    return {start, length};
}

}  // namespace

RECT FitIntoWorkArea(const RECT& wanted, const RECT& workArea, SIZE smallest) {
    const Span x = FitSpan({wanted.left, wanted.right - wanted.left}, workArea.left, workArea.right, smallest.cx);
    const Span y = FitSpan({wanted.top, wanted.bottom - wanted.top}, workArea.top, workArea.bottom, smallest.cy);
    return {x.start, y.start, x.start + x.length, y.start + y.length};
}

}  // namespace ui
