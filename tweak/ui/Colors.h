#pragma once

#include "Runtime.h"

// A grey whose red, green and blue are each level/255, opaque: the library's colours.
id greyColor(double level);
// An opaque colour of red, green and blue fractions.
id rgbColor(double red, double green, double blue);
id whiteColor();
