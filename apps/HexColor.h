#pragma once

#include "uikit/UIColor.h"

namespace apps {

// A colour written as designers write it, 0xRRGGBB.
inline UIColor* hexColor(unsigned rgb, double alpha = 1) {
    return UIColor::colorWithRed(((rgb >> 16) & 0xFF) / 255.0, ((rgb >> 8) & 0xFF) / 255.0,
                                 (rgb & 0xFF) / 255.0, alpha);
}

} // namespace apps
