#include "Colors.h"

#include "Runtime.h"

using objc::send;

id rgbColor(double red, double green, double blue) {
    return send<id>(objc_getClass("UIColor"), "colorWithRed:green:blue:alpha:", red, green, blue, 1.0);
}

id greyColor(double level) {
    return rgbColor(level / 255.0, level / 255.0, level / 255.0);
}

id whiteColor() {
    return send<id>(objc_getClass("UIColor"), "whiteColor");
}
