#include "InlineOverlay.h"

#include "ui/Colors.h"
#include "ui/Constraints.h"
#include "ui/VDManager.h"

#include "Runtime.h"

using objc::send;

namespace {

id systemFont(double size) {
    return send<id>(objc_getClass("UIFont"), "systemFontOfSize:", size);
}

void setCornerRadius(id overlay, const OverlayStyle& style) {
    if (style.cornerRadius)
        send(send<id>(overlay, "layer"), "setCornerRadius:", *style.cornerRadius);
}

} // namespace

id showOverlay(id text, id parent, id anchor, id* global, const OverlayStyle& style) {
    if (style.replacesEarlier)
        dismissOverlay(*global);
    id overlay =
        send<id>(VDManagerClass(), "InitTextViewWithFrame:BackgroundColor:TextColor:InView:", CGRectNull,
                 greyColor(37), whiteColor(), parent);
    objc_storeStrong(global, overlay);

    send(overlay, "setEditable:", true);
    if (style.cornerRadiusBeforeClipping)
        setCornerRadius(overlay, style);
    send(overlay, "setClipsToBounds:", true);
    if (!style.cornerRadiusBeforeClipping)
        setCornerRadius(overlay, style);
    send(overlay, "setText:", text);
    send(overlay, "setFont:", systemFont(style.fontSize));
    if (style.textAlignment)
        send(overlay, "setTextAlignment:", *style.textAlignment);
    send(overlay, "setTranslatesAutoresizingMaskIntoConstraints:", false);
    pinEdges(overlay, anchor, style.top, style.leading, style.trailing, style.bottom);
    return overlay;
}

void dismissOverlay(id overlay) {
    send(overlay, "setHidden:", true);
    send(overlay, "removeFromSuperview");
}
