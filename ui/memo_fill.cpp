#include "ui/memo_fill.h"

#include <utility>

namespace ui {

size_t MemoFill::PieceEnd(size_t size) const {
    if (text_.size() - done_ <= size)
        return text_.size();
    const size_t lineBreak = text_.rfind(L'\n', done_ + size - 1);
    if (lineBreak != std::wstring::npos && lineBreak >= done_)
        return lineBreak + 1;
    const size_t end = done_ + size;
    return IS_HIGH_SURROGATE(text_[end - 1]) ? end - 1 : end;
}

void MemoFill::Start(Memo memo, std::wstring text) {
    Stop();
    text_ = std::move(text);
    memo_ = memo;
    // A long text the memo holds takes about as long to let go of as to lay
    // out: the first piece replaces it at the next step, not at once.
    if (memo_.Length() <= static_cast<int>(kPiece))
        Next();
    if (Running())
        memo_.SetReadOnly(true);
}

bool MemoFill::Next() {
    if (!Running())
        return false;
    try {
        const bool first = replacing_;
        const size_t end = PieceEnd(first ? kFirstPiece : kPiece);
        const std::wstring_view piece = std::wstring_view(text_).substr(done_, end - done_);
        if (first)
            memo_.SetWideText(piece);
        else
            memo_.Append(piece);
        replacing_ = false;
        done_ = end;
    } catch (...) {
        Stop();
        throw;
    }
    if (done_ < text_.size())
        return true;
    Stop();
    return false;
}

void MemoFill::Stop() {
    if (memo_.Handle())
        memo_.SetReadOnly(false);
    memo_ = Memo();
    text_ = std::wstring();
    done_ = 0;
    replacing_ = true;
}

}  // namespace ui
