#include "sysfiles/file_page.h"

#include <future>
#include <new>
#include <utility>
#include <vector>

#include "core/code_page.h"
#include "core/text_file.h"
#include "sysfiles/line_diff.h"
#include "ui/control_ids.h"
#include "ui/error_box.h"

namespace {

// Unchanged lines shown before and after each change in the Compare window.
constexpr size_t kCompareContext = 3;
// Bytes from which Save and Back Up write on a worker: megabytes take the
// disk a tenth of a second and more.
constexpr size_t kWriteOnWorker = 1024 * 1024;
// These files hold some kilobytes. Those at the root of drive C, and their
// backups, any user may write: one grown to gigabytes is refused unread.
const ReadOptions kPageFileRead{.maxBytes = 32 * 1024 * 1024};

std::string Count(size_t count, const char* one, const char* many) {
    return std::to_string(count) + " " + (count == 1 ? one : many);
}

// Why a load failed with something other than a LoadError, in words for the user.
std::string ReasonOf(const std::exception& error) {
    if (dynamic_cast<const std::bad_alloc*>(&error))
        return FailureReason(ERROR_NOT_ENOUGH_MEMORY);
    return error.what();
}

// The bytes an editor shows: those before the first zero byte.
std::string_view Shown(std::string_view bytes) { return bytes.substr(0, bytes.find('\0')); }

bool ChangedByEditor(std::string_view bytes) { return !ComesBackUnchanged(Shown(bytes), CP_ACP); }

// What of a file's bytes an editor does not hold, in words; empty when it holds all of them.
std::string WhatAnEditorMisses(size_t hiddenBytes, bool changedByEditor) {
    if (hiddenBytes)
        return Count(hiddenBytes, "byte", "bytes") + " from a zero byte on are not shown";
    if (changedByEditor)
        return "some of its bytes are not text in the system's code page";
    return "";
}

}  // namespace

void FilePage::CreateEditor(const PageContext& context, HFONT font) {
    // The selection stays in sight while the Find dialog has the focus.
    editor_.Create({.parent = context.sheet,
                    .bounds = row_.editor,
                    .style = ES_NOHIDESEL,
                    .id = ids::Memo(row_.memo),
                    .font = font},
                   context.dpi);
}

std::array<HWND, 4> FilePage::Buttons() const {
    HWND sheet = GetParent(editor_.Handle());
    return {GetDlgItem(sheet, ids::Button(row_.restore.button)), GetDlgItem(sheet, ids::Button(row_.compare.button)),
            GetDlgItem(sheet, ids::Button(row_.backUp.button)), GetDlgItem(sheet, ids::Button(row_.save.button))};
}

void FilePage::Lay(const ui::Dpi& dpi, SIZE shortfall) {
    RECT editor = ui::Scaled(row_.editor, dpi);
    editor.right -= shortfall.cx;
    editor.bottom -= shortfall.cy;
    editor_.SetBounds(editor);
    const std::array<HWND, 4> buttons = Buttons();
    const FileButton* rows[] = {&row_.restore, &row_.compare, &row_.backUp, &row_.save};
    for (size_t i = 0; i < buttons.size(); ++i) {
        if (!buttons[i])
            continue;
        RECT bounds = ui::Scaled(rows[i]->bounds, dpi);
        OffsetRect(&bounds, -shortfall.cx, -shortfall.cy);
        ui::Window(buttons[i]).SetBounds(bounds);
    }
}

void FilePage::SetFonts(HFONT editorFont, HFONT buttonFont) {
    editor_.SetFont(editorFont);
    for (HWND button : Buttons())
        if (button)
            ui::Window(button).SetFont(buttonFont);
}

void FilePage::SetBackUpTools(ui::Button restore, ui::Button compare) {
    restore_ = restore;
    compare_ = compare;
    RefreshBackUpTools();
}

void FilePage::Activate() {
    RefreshBackUpTools();
    Load();
}

void FilePage::Load() {
    // The file is the one being written: the editor shows what goes in.
    if (Writing())
        return;
    try {
        ReadAndShow();
    } catch (const LoadError& error) {
        if (error.FileMissing())
            state_ = {.onDisk = OnDisk::Missing};
        else
            state_.loadFailure = error.Reason();
        throw;
    } catch (const std::exception& error) {
        const LoadError failed(row_.path, ReasonOf(error));
        state_.loadFailure = failed.Reason();
        throw failed;
    }
}

void FilePage::ReadAndShow() {
    // Mostly the file is as the editor shows it: comparing it costs less
    // than reading it anew.
    if (ShowsAsLoaded() && FileHolds(files_, row_.path, state_.bytes))
        return;
    std::string bytes = ReadFileBytes(files_, row_.path, kPageFileRead);
    if (IsModified()) {
        if (state_.onDisk == OnDisk::Present && bytes == state_.bytes)
            return Remember(std::move(bytes));
        const bool keepTyped = AskYesNo(std::string(row_.path) +
                                            " has changed on disk since it was loaded, and the editor holds "
                                            "changes that are not saved.\n\n"
                                            "Yes keeps the text you typed; No shows the file as it is now.",
                                        true);
        // Saving the typed text later replaces the file as it is now.
        if (keepTyped)
            return Remember(std::move(bytes));
    }
    Show(std::move(bytes));
}

bool FilePage::ShowsAsLoaded() const {
    if (state_.onDisk != OnDisk::Present || !state_.loadFailure.empty())
        return false;
    if (Filling())
        return !fillTyped_;
    return state_.shownLength >= 0 && !editor_.IsModified() && editor_.Length() == state_.shownLength;
}

void FilePage::Show(std::string bytes) {
    const std::string text = EditorTextFromBytes(bytes);
    Remember(std::move(bytes));
    if (!Filling()) {
        const EncodedText shown = editor_.Encoded();
        if (!shown.unstorable && shown.bytes == text) {
            editor_.SetModified(false);
            state_.shownLength = editor_.Length();
            return;
        }
    }
    PutText(text, false);
}

bool FilePage::IsModified() const { return Filling() ? fillTyped_ : editor_.IsModified(); }

UINT_PTR FilePage::FillTimer() const { return ids::Memo(row_.memo); }

void FilePage::PutText(const std::string& text, bool typed) {
    fillTyped_ = typed;
    try {
        fill_.Start(editor_, DecodeText(text, CP_ACP));
    } catch (const AppError&) {
        FillFailed();
    }
    if (!Filling())
        return FillDone();
    SetTimer(GetParent(editor_.Handle()), FillTimer(), USER_TIMER_MINIMUM, nullptr);
    RefreshPointer();
}

void FilePage::FillMore(UINT_PTR timerId) {
    if (timerId == FillTimer() && Filling())
        FillNext();
}

void FilePage::FillNext() {
    try {
        if (fill_.Next())
            return;
    } catch (const AppError&) {
        FillFailed();
    }
    FillDone();
}

void FilePage::FinishFill() {
    while (Filling())
        FillNext();
}

void FilePage::FillDone() {
    KillTimer(GetParent(editor_.Handle()), FillTimer());
    editor_.SetModified(fillTyped_);
    if (!fillTyped_)
        state_.shownLength = editor_.Length();
    RefreshPointer();
}

void FilePage::FillFailed() {
    KillTimer(GetParent(editor_.Handle()), FillTimer());
    RefreshPointer();
    // The editor holds only part of the text: saving it asks first.
    editor_.SetModified(fillTyped_);
    const LoadError failed(fillTyped_ ? row_.backUpPath : row_.path, "it is too large for the editor");
    if (!fillTyped_)
        state_.loadFailure = failed.Reason();
    throw failed;
}

void FilePage::Remember(std::string bytes) {
    const size_t hiddenBytes = BytesFromFirstZero(bytes);
    // Line breaks are single bytes in every ANSI code page: the shown bytes
    // come back as the editor's text does.
    const bool changedByEditor = ChangedByEditor(bytes);
    state_ = {.onDisk = OnDisk::Present,
              .bytes = std::move(bytes),
              .hiddenBytes = hiddenBytes,
              .changedByEditor = changedByEditor};
}

void FilePage::MarkSaved(const std::string& bytes) {
    // Bytes made of the editor's text hold no zero byte and are text in the
    // code page: what Remember would find out, without going through megabytes.
    state_ = {.onDisk = OnDisk::Present, .bytes = bytes};
}

std::string FilePage::WhatTheEditorMisses() const {
    if (!state_.loadFailure.empty())
        return "it could not be loaded (" + state_.loadFailure + ")";
    if (state_.onDisk == OnDisk::Unknown)
        return "it has not been loaded";
    if (state_.onDisk == OnDisk::Missing)
        return "the file was not found";
    return WhatAnEditorMisses(state_.hiddenBytes, state_.changedByEditor);
}

bool FilePage::Save() {
    FinishFill();
    FinishWrite();
    EncodedText text = editor_.Encoded();
    if (!ConfirmDespiteLoadFailure() || !ConfirmCuttingHiddenBytes() || !ConfirmChangedByEditor() ||
        !ConfirmUnstorable(text.unstorable, row_.path))
        return false;
    const std::optional<WriteOptions> options = AskWriteOptions(row_.path);
    if (!options || !ConfirmDiskUnchanged())
        return false;
    StartWrite(Target::File, std::move(text.bytes), *options);
    return true;
}

bool FilePage::BackUp() {
    FinishFill();
    FinishWrite();
    EncodedText text = editor_.Encoded();
    if (!ConfirmUnstorable(text.unstorable, row_.backUpPath) || !ConfirmReplacingBackUp())
        return false;
    const std::optional<WriteOptions> options = AskWriteOptions(row_.backUpPath);
    if (!options)
        return false;
    StartWrite(Target::BackUp, std::move(text.bytes), *options);
    return true;
}

void FilePage::StartWrite(Target target, std::string bytes, WriteOptions options) {
    auto job = std::make_shared<PostedResult<std::exception_ptr>>(GetParent(editor_.Handle()), kWrittenPosted);
    auto written = std::make_shared<const std::string>(std::move(bytes));
    write_ = Write{job, target, written, IsModified()};
    // What is typed from now on is not in this write, and marks the editor anew.
    if (target == Target::File)
        editor_.SetModified(false);
    auto write = [job, written, &files = files_, options,
                  path = std::string(target == Target::File ? row_.path : row_.backUpPath)] {
        std::exception_ptr failure;
        try {
            WriteFileText(files, path, *written, options);
        } catch (...) {
            failure = std::current_exception();
        }
        job->Deliver(failure);
    };
    // A file of the usual size is written before a thread would have started.
    if (written->size() < kWriteOnWorker) {
        write();
        return FinishWrite();
    }
    workers_.Start(write);
    RefreshPointer();
}

void FilePage::EndWrite() {
    if (!write_)
        return;
    if (std::optional<std::exception_ptr> failure = write_->job->Take())
        WriteEnded(*failure);
}

void FilePage::FinishWrite() {
    if (!write_)
        return;
    if (std::optional<std::exception_ptr> failure = write_->job->WaitAndTake())
        WriteEnded(*failure);
}

void FilePage::WriteEnded(std::exception_ptr failure) {
    const Write write = std::move(*write_);
    write_.reset();
    RefreshPointer();
    bool written = !failure;
    if (failure) {
        try {
            std::rethrow_exception(failure);
        } catch (const WrittenWithTrouble&) {
            written = true;
        } catch (...) {
        }
    }
    if (write.target == Target::BackUp)
        RefreshBackUpTools();
    else if (written)
        MarkSaved(*write.bytes);
    else if (write.typed)
        editor_.SetModified(true);
    if (failure)
        std::rethrow_exception(failure);
}

bool FilePage::ConfirmDespiteLoadFailure() const {
    return state_.loadFailure.empty() ||
           AskYesNo(std::string(row_.path) + " could not be loaded (" + state_.loadFailure +
                        "), so the editor does not show what the file holds.\n\n"
                        "Write the editor's text over the file anyway?",
                    false);
}

bool FilePage::ConfirmCuttingHiddenBytes() const {
    return !state_.hiddenBytes ||
           AskYesNo(std::string(row_.path) + " holds " + Count(state_.hiddenBytes, "byte", "bytes") +
                        " from a zero byte on, which the editor cannot show. Saving cuts them off the file.\n\n"
                        "Save anyway?",
                    false);
}

bool FilePage::ConfirmChangedByEditor() const {
    return !state_.changedByEditor ||
           AskYesNo(std::string(row_.path) +
                        " holds bytes that are not text in the system's code page. The editor shows them as other "
                        "characters, and saving writes those instead.\n\n"
                        "Save anyway?",
                    false);
}

bool FilePage::ConfirmUnstorable(size_t characters, const std::string& path) const {
    return !characters ||
           AskYesNo(Count(characters, "character", "characters") + " of the editor's text cannot be stored in " + path +
                        ": the system's code page has no such " + (characters == 1 ? "character" : "characters") +
                        ", and each would be written as \"?\".\n\n"
                        "Write the file anyway?",
                    false);
}

bool FilePage::ConfirmReplacingBackUp() const {
    const std::string missed = WhatTheEditorMisses();
    if (missed.empty() || files_.Attributes(row_.backUpPath) == INVALID_FILE_ATTRIBUTES)
        return true;
    return AskYesNo(std::string(row_.backUpPath) + " holds an earlier backup, and the editor does not hold all of " +
                        row_.path + ": " + missed + ".\n\nReplace the backup with the editor's text?",
                    false);
}

bool FilePage::ConfirmDiskUnchanged() {
    // Unknown: never read, or a failed load the user has just chosen to write over.
    if (state_.onDisk == OnDisk::Unknown)
        return true;
    const std::optional<bool> holds = StillHoldsIfPresent();
    const char* change = nullptr;
    if (holds && state_.onDisk == OnDisk::Missing)
        change = " was created";
    else if (!holds && state_.onDisk == OnDisk::Present)
        change = " was deleted";
    else if (holds && !*holds)
        change = " was changed";
    return !change || AskYesNo(std::string(row_.path) + change +
                                   " by another program since the editor last read or wrote it.\n\n"
                                   "Yes writes the editor's text over that change; No keeps the file as it is now.",
                               false);
}

std::optional<WriteOptions> FilePage::AskWriteOptions(const std::string& path) const {
    if (!IsReadOnlyFile(files_, path))
        return WriteOptions{};
    if (!AskYesNo(path + " is read-only.\n\nSave it anyway? It stays read-only afterwards.", false))
        return std::nullopt;
    return WriteOptions{.readOnly = ReadOnlyFile::Overwrite};
}

std::optional<bool> FilePage::StillHoldsIfPresent() {
    try {
        return FileHolds(files_, row_.path, state_.bytes);
    } catch (const LoadError& error) {
        if (error.FileMissing())
            return std::nullopt;
        throw;
    }
}

void FilePage::RefreshBackUpTools() {
    const DWORD attributes = files_.Attributes(row_.backUpPath);
    const bool exists = attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
    EnableWindow(restore_.Handle(), exists);
    EnableWindow(compare_.Handle(), exists);
}

std::string FilePage::ReadBackUp() {
    try {
        return ReadFileBytes(files_, row_.backUpPath, kPageFileRead);
    } catch (const LoadError& error) {
        if (error.FileMissing())
            RefreshBackUpTools();
        throw;
    }
}

void FilePage::Restore() {
    const std::string backUp = ReadBackUp();
    const size_t hidden = BytesFromFirstZero(backUp);
    if (hidden && !AskYesNo(std::string(row_.backUpPath) + " holds " + Count(hidden, "byte", "bytes") +
                                " from a zero byte on, which the editor cannot show: they would not come back.\n\n"
                                "Restore the rest of it?",
                            false))
        return;
    if (IsModified() && !AskYesNo(std::string(row_.path) +
                                      " has changes in the editor that are not saved.\n\n"
                                      "Replace them with the text of " +
                                      row_.backUpPath + "?",
                                  false))
        return;
    // Typed changes until saved: the file is written only by Save.
    PutText(EditorTextFromBytes(backUp), true);
}

FilePage::~FilePage() {
    if (compareJob_)
        compareJob_->Cancel();
}

void FilePage::Compare(const ui::Dpi& dpi) {
    if (compareJob_)
        return;
    compareDpi_ = dpi;
    auto job = std::make_shared<PostedResult<Compared>>(GetParent(editor_.Handle()), kComparedPosted);
    compareJob_ = job;
    // The worker keeps its own copies: the page may be gone before it ends.
    workers_.Start([job, &files = files_, path = std::string(row_.path), backUpPath = std::string(row_.backUpPath)] {
        Compared compared;
        try {
            // Both read at once: each read waits on the system more than on a
            // processor. The backup's failure is told first, as it always was.
            std::future<std::string> file =
                std::async(std::launch::async, [&] { return ReadFileBytes(files, path, kPageFileRead); });
            const std::string backUp = ReadFileBytes(files, backUpPath, kPageFileRead);
            compared.lines = CompareFiles(file.get(), backUp, kCompareContext);
        } catch (...) {
            compared.failure = std::current_exception();
        }
        job->Deliver(std::move(compared));
    });
    RefreshPointer();
}

void FilePage::ShowCompared() {
    std::optional<Compared> compared = compareJob_ ? compareJob_->Take() : std::nullopt;
    if (!compared)
        return;
    compareJob_.reset();
    RefreshPointer();
    if (compared->failure) {
        RefreshBackUpTools();  // the backup may be gone
        std::rethrow_exception(compared->failure);
    }
    compareWindow_.Open(GetAncestor(editor_.Handle(), GA_ROOT), row_.path, row_.backUpPath, std::move(compared->lines),
                        compareDpi_);
}

UnaskedBackUp BackUpUnasked(platform::Files& files, const FilePageRow& row) {
    std::string bytes;
    try {
        bytes = ReadFileBytes(files, row.path, kPageFileRead);
    } catch (const LoadError& error) {
        if (error.FileMissing())
            return {UnaskedBackUp::Outcome::NoFile};
        return {UnaskedBackUp::Outcome::Refused, error.what()};
    }
    const std::string missed = WhatAnEditorMisses(BytesFromFirstZero(bytes), ChangedByEditor(bytes));
    if (!missed.empty())
        return {UnaskedBackUp::Outcome::Refused, "an editor would not hold all of it: " + missed};
    try {
        WriteFileText(files, row.backUpPath, EditorTextFromBytes(bytes));
    } catch (const AppError& error) {
        return {UnaskedBackUp::Outcome::Refused, error.what()};
    }
    return {UnaskedBackUp::Outcome::Written};
}
