#pragma once
// A long text put into a memo a piece at a time. The edit control lays out
// every line it is given before it answers again: megabytes given at once
// hold the window for seconds, a piece for a tenth of one.
#include <string>

#include "ui/controls.h"

namespace ui {

class MemoFill {
public:
    // Characters per piece, about a thousand lines. Each piece also costs
    // the control a walk over what it already holds, so smaller pieces make
    // the whole fill slower.
    static constexpr size_t kPiece = 64 * 1024;
    // The first piece fills a screen and then some: the click that starts
    // the fill does not wait for more.
    static constexpr size_t kFirstPiece = 16 * 1024;

    // Replaces the memo's text with the first piece of `text`, its mark of
    // typed changes cleared; when the memo holds a long text, at the first
    // Next. While more remain the memo is read-only, so that nothing typed
    // lands between two pieces. Throws AppError when the memo does not take
    // the piece.
    void Start(Memo memo, std::wstring text);
    // Puts the next piece at the end; false once the whole text is in, and
    // the memo writable again. Throws AppError as Start does.
    bool Next();
    // The rest at once.
    void Finish() {
        while (Next()) {
        }
    }
    // Drops the rest: the memo keeps what it has, writable again.
    void Stop();
    bool Running() const { return memo_.Handle() != nullptr; }

private:
    // Where the piece of at most `size` starting at `done_` ends: after a line
    // break where one is near, never inside a surrogate pair.
    size_t PieceEnd(size_t size) const;

    Memo memo_;
    std::wstring text_;
    size_t done_ = 0;
    bool replacing_ = true;  // the first piece is still to replace the memo's text
};

}  // namespace ui
