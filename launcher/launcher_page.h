#pragma once
// The CONTROL PANEL page: a list of Control Panel functions to start.
#include "app/page.h"

class LauncherPage : public PageHandler {
public:
    void Create(Page page, const PageContext& context) override;
};
