#pragma once

#include "CGGeometry.h"

// UIScreen: the size of the device's screen, set by the system at launch.
class UIScreen {
public:
    static CGRect mainScreenBounds();
    static void setMainScreenSize(CGSize size);
};
