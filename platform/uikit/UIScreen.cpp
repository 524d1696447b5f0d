#include "UIScreen.h"

namespace {

CGSize& screenSize() {
    static CGSize size{390, 844};
    return size;
}

} // namespace

CGRect UIScreen::mainScreenBounds() {
    return CGRect{{0, 0}, screenSize()};
}

void UIScreen::setMainScreenSize(CGSize size) {
    screenSize() = size;
}
