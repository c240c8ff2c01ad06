#pragma once
// A scratch drive C on which whatever is opened is a link (a reparse point)
// while `links` is set, as a junction or a symbolic link would be: Wine
// cannot make them. One scratch drive at a time: they share their folder.
#include "support/scratch_drive.h"

class LinkedDrive : public ScratchDrive {
public:
    bool links = true;

    bool Describe(HANDLE file, platform::FileFacts& facts) override {
        const bool described = ScratchDrive::Describe(file, facts);
        if (links)
            facts.attributes |= FILE_ATTRIBUTE_REPARSE_POINT;
        return described;
    }
};
