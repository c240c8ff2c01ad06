#pragma once
// One system file page: its editor, its file and the file's backup, and what
// the page knows of the file since the editor last showed or saved it.
#include <array>
#include <exception>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/file_writer.h"
#include "core/workers.h"
#include "platform/files.h"
#include "sysfiles/compare_window.h"
#include "ui/controls.h"
#include "ui/memo_fill.h"
#include "ui/page.h"

class SysFilePages;
using FileButton = ButtonRow<SysFilePages>;

// A file page as the page table gives it.
struct FilePageRow {
    Page page;
    int memo;  // MemoN, the editor
    ui::Rect editor;
    const char* path;
    const char* backUpPath;
    // Left to right, the order Tab goes through them; Restore and Compare
    // take the backup.
    FileButton restore, compare, backUp, save;
};

// Back Up of one file without a window, where nobody can be asked.
struct UnaskedBackUp {
    enum class Outcome { Written, NoFile, Refused } outcome;
    std::string reason;  // why not, when Refused
};
// Writes the backup of `row`'s file, as its editor would hold the file, when
// the file exists and an editor holds all of it; never otherwise, so that a
// backup is never replaced by less than its file.
UnaskedBackUp BackUpUnasked(platform::Files& files, const FilePageRow& row);

// Posted to a file page's sheet: a comparison made off the window's thread is done.
constexpr UINT kComparedPosted = WM_APP + 1;
// Posted to a file page's sheet: a write made off the window's thread is done.
constexpr UINT kWrittenPosted = WM_APP + 2;

class FilePage {
public:
    FilePage(const FilePageRow& row, platform::Files& files) : row_(row), files_(files) {}
    // A comparison still running is dropped, not waited for.
    ~FilePage();
    FilePage(const FilePage&) = delete;
    FilePage& operator=(const FilePage&) = delete;

    const FilePageRow& Row() const { return row_; }
    bool Holds(HWND control) const { return editor_.Handle() == control; }
    HWND Editor() const { return editor_.Handle(); }
    // Whether the editor holds text the file does not: typed, or restored
    // from the backup, and not saved.
    bool IsModified() const;

    void CreateEditor(const PageContext& context, HFONT font);
    // The editor and the buttons at their design places at `dpi`; the editor
    // gives up what the sheet lacks of its design size, `shortfall`, and the
    // buttons below it move up and left by as much.
    void Lay(const ui::Dpi& dpi, SIZE shortfall);
    void SetFonts(HFONT editorFont, HFONT buttonFont);
    // Restore and Compare, enabled while the backup exists.
    void SetBackUpTools(ui::Button restore, ui::Button compare);
    // The page came to the front: its backup's tools and its file are read again.
    void Activate();
    // Shows the file again: an editor without typed changes reloads it; typed
    // changes are kept, and when the file changed on disk meanwhile the user
    // chooses which to keep. Any failure counts as a failed load. Throws LoadError.
    void Load();

    // Each returns false when the user chose not to write. The write itself
    // goes on on a worker; FinishWrite or a kWrittenPosted ends it.
    bool BackUp();
    bool Save();
    // On kWrittenPosted: the page takes note of the written file, or throws
    // what writing threw.
    void EndWrite();
    // Waits for a write still going on and ends it as EndWrite does: for
    // what needs the file written, and before closing.
    void FinishWrite();
    bool Writing() const { return write_.has_value(); }
    // The backup's text into the editor, as typed changes; the file stays as it is.
    void Restore();
    // Reads and compares the file and its backup on a worker; the Compare
    // window opens once ShowCompared gets the lines. A click meanwhile waits
    // for the same comparison.
    void Compare(const ui::Dpi& dpi);
    // On kComparedPosted: opens the Compare window with the lines, or throws
    // what reading or comparing threw.
    void ShowCompared();
    bool Comparing() const { return compareJob_ != nullptr; }
    // A long text goes into the editor a piece at every tick of a timer the
    // page sets on its sheet: FillMore takes the next one on `timerId`.
    bool Filling() const { return fill_.Running(); }
    void FillMore(UINT_PTR timerId);
    // The rest of a text going in, at once: for what needs all of it.
    void FinishFill();

private:
    enum class OnDisk { Unknown, Missing, Present };
    struct FileState {
        OnDisk onDisk = OnDisk::Unknown;
        std::string bytes;             // the file's bytes while it is Present
        size_t hiddenBytes = 0;        // from a zero byte on: the editor cannot show them
        bool changedByEditor = false;  // bytes that are no text in the code page come back as others
        std::string loadFailure;       // why the last load failed, other than a missing file
        int shownLength = -1;          // the editor's text length when it last showed `bytes`
    };

    void ReadAndShow();
    // Whether the editor, untouched, still shows the remembered bytes as it
    // last did: then a reload of a file that still holds them has nothing to
    // do, and the big text is not fetched.
    bool ShowsAsLoaded() const;
    // The file's bytes into the editor, its typed changes gone.
    void Show(std::string bytes);
    // The editor's text to be `text`; `typed` marks it as typed changes once
    // all of it is in. A long text goes in piece by piece.
    void PutText(const std::string& text, bool typed);
    void FillNext();
    void FillDone();
    // The editor took only part of the text. Throws LoadError.
    [[noreturn]] void FillFailed();
    UINT_PTR FillTimer() const;
    void Remember(std::string bytes);
    void MarkSaved(const std::string& bytes);
    // What of the file the editor does not hold, in words; empty when it holds all of it.
    std::string WhatTheEditorMisses() const;

    // Each true when the user lets the write go on, or there is nothing to ask.
    bool ConfirmDespiteLoadFailure() const;
    bool ConfirmCuttingHiddenBytes() const;
    bool ConfirmChangedByEditor() const;
    bool ConfirmUnstorable(size_t characters, const std::string& path) const;
    bool ConfirmReplacingBackUp() const;
    // Read right before writing: asks when another program changed, created or
    // deleted the file since the editor last read or wrote it.
    bool ConfirmDiskUnchanged();
    // How `path` may be written: a read-only file only with the user's consent.
    std::optional<WriteOptions> AskWriteOptions(const std::string& path) const;

    enum class Target { File, BackUp };
    // Writes `bytes` as the file or its backup on a worker.
    void StartWrite(Target target, std::string bytes, WriteOptions options);
    // The page takes note of the outcome of the write, and throws its failure.
    void WriteEnded(std::exception_ptr failure);

    // Whether the file still holds the bytes remembered of it, or none when
    // it does not exist. Throws LoadError.
    std::optional<bool> StillHoldsIfPresent();
    void RefreshBackUpTools();
    // Restore, Compare, Back Up and Save, left to right; null until made.
    std::array<HWND, 4> Buttons() const;
    // The backup's bytes; a missing backup disables its tools. Throws LoadError.
    std::string ReadBackUp();

    // The Compare window's lines, or what reading or comparing threw.
    struct Compared {
        std::vector<DiffLine> lines;
        std::exception_ptr failure;
    };

    const FilePageRow& row_;
    platform::Files& files_;
    ui::Memo editor_;
    ui::MemoFill fill_;
    bool fillTyped_ = false;
    FileState state_;
    ui::Button restore_, compare_;
    CompareWindow compareWindow_;
    ui::Dpi compareDpi_;
    std::shared_ptr<PostedResult<Compared>> compareJob_;
    // A write going on: what it writes, and whether the editor held typed
    // changes when Save took its text.
    struct Write {
        std::shared_ptr<PostedResult<std::exception_ptr>> job;
        Target target;
        std::shared_ptr<const std::string> bytes;
        bool typed;
    };
    std::optional<Write> write_;
    Workers workers_;
};
