#pragma once
// The ABOUT page: product, maker and two links.
#include "app/page.h"

class AboutPage : public PageHandler {
public:
    void Create(Page page, const PageContext& context) override;
};
