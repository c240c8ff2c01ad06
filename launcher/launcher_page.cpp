#include "launcher/launcher_page.h"

void LauncherPage::Create(Page, const PageContext&) {}
