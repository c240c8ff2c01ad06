#include "sysinfo/sysinfo_page.h"

void SysInfoPage::Create(Page, const PageContext&) {}
void SysInfoPage::Refresh() {}
