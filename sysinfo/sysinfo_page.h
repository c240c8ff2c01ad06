#pragma once
// The SYSTEM INFO page: facts about the machine and the installed software.
#include "app/page.h"

class SysInfoPage : public PageHandler {
public:
    void Create(Page page, const PageContext& context) override;
    // Gathers every fact afresh; throws at the first failing step.
    void Refresh();
};
