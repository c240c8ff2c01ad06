#pragma once
// A scratch drive C on which whatever is opened is a link (a reparse point),
// as a junction or a symbolic link would be: Wine cannot make them.
#include "support/scratch_drive.h"

class LinkedDrive : public ScratchDrive {
public:
    bool Describe(HANDLE file, platform::FileFacts& facts) override {
        const bool described = ScratchDrive::Describe(file, facts);
        facts.attributes |= FILE_ATTRIBUTE_REPARSE_POINT;
        return described;
    }
};
