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
    done_ = PieceEnd(kFirstPiece);
    memo.SetWideText(std::wstring_view(text_).substr(0, done_));
    memo_ = memo;
    if (done_ < text_.size())
        memo_.SetReadOnly(true);
    else
        Stop();
}

bool MemoFill::Next() {
    if (!Running())
        return false;
    const size_t end = PieceEnd(kPiece);
    try {
        memo_.Append(std::wstring_view(text_).substr(done_, end - done_));
    } catch (...) {
        Stop();
        throw;
    }
    done_ = end;
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
}

}  // namespace ui
