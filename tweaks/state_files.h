#pragma once
// The remembered shell choices: one 4-byte word per toggle in its own file
// under c:\qor, each file read and written through a zero-height memo that
// holds the word. The first run creates them all.
#include <cstddef>

constexpr char kShow[] = "show";
constexpr char kHide[] = "hide";

enum class StateFile { TB, SB, DI, ST, CL, RU, SE, DO, TM };

struct StateFileRow {
    StateFile file;
    const char* path;
    int holderMemo;            // MemoN that holds the word
    const char* firstRunWord;  // what the first run records
};

// In the order the first run writes them.
constexpr StateFileRow kStateFiles[] = {
    {StateFile::TB, "c:\\qor\\TB.txt", 9, kShow},
    {StateFile::SB, "c:\\qor\\SB.txt", 10, kShow},
    {StateFile::DI, "c:\\qor\\DI.txt", 11, kShow},
    {StateFile::ST, "c:\\qor\\ST.txt", 12, kShow},
    {StateFile::CL, "c:\\qor\\CL.txt", 13, kShow},
    {StateFile::RU, "c:\\qor\\RU.txt", 14, kShow},
    {StateFile::SE, "c:\\qor\\SE.txt", 15, kShow},
    {StateFile::DO, "c:\\qor\\DO.txt", 16, kShow},
    // In TM "show" means the key combinations are disabled: a first run must
    // leave them enabled, so it records "hide".
    {StateFile::TM, "c:\\qor\\TM.txt", 17, kHide},
};
constexpr size_t kStateFileCount = sizeof(kStateFiles) / sizeof(kStateFiles[0]);

constexpr bool RowsFollowStateFileOrder() {
    for (size_t i = 0; i < kStateFileCount; ++i)
        if (static_cast<size_t>(kStateFiles[i].file) != i)
            return false;
    return true;
}
static_assert(RowsFollowStateFileOrder(), "kStateFiles is indexed by StateFile");

constexpr const StateFileRow& StateFileOf(StateFile file) { return kStateFiles[static_cast<size_t>(file)]; }

constexpr char kStateDirectory[] = "c:\\QOR";
// The folder's security, given when the program makes it; nothing of drive
// C's is passed on. Administrators and SYSTEM may do everything. Users may
// list the folder and add files (0x1200ab: list, add file, traverse, read
// attributes, extended attributes and security), but not remove,
// re-permission or take it, nor add folders, a junction being one. They may
// read and write every file in it and delete none, except that whoever made
// a file may delete it: the writer removes its own temporary copies.
constexpr char kStateFolderSecurity[] =
    "D:P(A;OICI;FA;;;BA)(A;OICI;FA;;;SY)(A;;0x1200ab;;;BU)(A;OIIO;FRFW;;;BU)(A;OIIO;FRFWSD;;;CO)";
constexpr char kFirstRunMarker[] = "c:\\QOR\\install.txt";
constexpr int kMarkerMemo = 8;
// The holders' texts before any file is read: neither state word.
constexpr char kMarkerInitialText[] = "Memo8\r\n";
constexpr char kHolderInitialText[] = "Show\r\n";
