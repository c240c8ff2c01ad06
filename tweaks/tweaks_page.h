#pragma once
// The REGISTRY SETTINGS page: shell toggles, their state files, policy files.
#include "app/page.h"

class TweaksPage : public PageHandler {
public:
    void Create(Page page, const PageContext& context) override;
    // Start-up step 2: applies the remembered toggles; throws at the first failure.
    void RestoreToggles();
    // Start-up step 3: creates the state directory and files on the first run.
    void FirstRunCheck();
};
