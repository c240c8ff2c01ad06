#include "about/about_page.h"

void AboutPage::Create(Page, const PageContext&) {}
