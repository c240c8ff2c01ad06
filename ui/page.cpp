#include "ui/page.h"

#include "ui/control_ids.h"

ui::Button CreatePageButton(const PageContext& context, int button, const char* caption, ui::Rect bounds,
                            const char* hint) {
    ui::Button created;
    created.Create(
        {.parent = context.sheet, .text = caption, .bounds = bounds, .id = ids::Button(button), .font = context.font},
        context.dpi);
    if (hint)
        context.hints->Add(created.Handle(), hint);
    return created;
}
