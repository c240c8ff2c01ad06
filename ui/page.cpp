#include "ui/page.h"

#include <algorithm>

#include "ui/control_ids.h"

bool ClickHandlers::Run(int controlId) const {
    for (const auto& [id, handler] : handlers_) {
        if (id == controlId) {
            handler();
            return true;
        }
    }
    return false;
}

SIZE SheetShortfall(int width, int height, const ui::Dpi& dpi) {
    return {std::max(0, dpi.Scale(kSheetWidth) - width), std::max(0, dpi.Scale(kSheetHeight) - height)};
}

ui::Button CreatePageButton(const PageContext& context, const PageButtonArgs& args, std::function<void()> onClick) {
    ui::Button created;
    created.Create({.parent = context.sheet,
                    .text = args.caption,
                    .bounds = args.bounds,
                    .id = ids::Button(args.button),
                    .font = context.font,
                    .visible = args.visible},
                   context.dpi);
    if (args.hint)
        context.hints->Add(created.Handle(), args.hint);
    context.clicks->Bind(ids::Button(args.button), std::move(onClick));
    return created;
}

void RefreshPointer() {
    POINT at{};
    if (GetCursorPos(&at))
        SetCursorPos(at.x, at.y);
}
