#include "InlineOverlay.h"

#include "ui/Colors.h"
#include "ui/Constraints.h"

#include "objc/Message.h"
#include "uikit/CGGeometry.h"

using objc::send;

id systemFont(double size) {
    return send<id>(objc_getClass("UIFont"), "systemFontOfSize:", size);
}

id makeOverlay(id parent, id* global) {
    id background = greyColor(37);
    id foreground = whiteColor();
    id overlay = send<id>(objc_getClass("VDManager"),
                          "InitTextViewWithFrame:BackgroundColor:TextColor:InView:", CGRectNull, background,
                          foreground, parent);
    objc_storeStrong(global, overlay);
    return overlay;
}

void showStandardOverlay(id text, id parent, id anchor, id* global) {
    id overlay = makeOverlay(parent, global);
    send(overlay, "setEditable:", true);
    send(send<id>(overlay, "layer"), "setCornerRadius:", 7.0);
    send(overlay, "setClipsToBounds:", true);
    send(overlay, "setText:", text);
    send(overlay, "setFont:", systemFont(15.0));
    send(overlay, "setTranslatesAutoresizingMaskIntoConstraints:", false);
    pinEdges(overlay, anchor, 5.0, 5.0, -5.0, -5.0);
}

void dismissOverlay(id overlay) {
    send(overlay, "setHidden:", true);
    send(overlay, "removeFromSuperview");
}
