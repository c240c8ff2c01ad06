#include "tweaks/tweaks_page.h"

void TweaksPage::Create(Page, const PageContext&) {}
void TweaksPage::RestoreToggles() {}
void TweaksPage::FirstRunCheck() {}
