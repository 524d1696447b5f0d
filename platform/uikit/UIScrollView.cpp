#include "UIScrollView.h"

Class UIScrollView::staticClass() {
    static Class cls = [] {
        Class c = objc::defineNativeClass<UIScrollView>("UIScrollView", UIView::staticClass());
        objc_registerClassPair(c);
        return c;
    }();
    return cls;
}
