#include "UIImageView.h"

namespace {

UIImageView* self(id object) {
    return static_cast<UIImageView*>(object);
}

void initWithImage(UIImageView* view, UIImage* image) {
    view->setImage(image);
    view->setFrame(CGRect{{0, 0}, image ? image->size() : CGSize{}});
}

} // namespace

UIImageView::UIImageView(Class isa) : UIView(isa) {
    setUserInteractionEnabled(false);
}

UIImageView* UIImageView::make(UIImage* image) {
    auto* view = objc::make<UIImageView>(staticClass());
    initWithImage(view, image);
    return view;
}

Class UIImageView::staticClass() {
    static Class cls = [] {
        Class c = objc::defineNativeClass<UIImageView>("UIImageView", UIView::staticClass());
        objc::addMethod(
            c, "initWithImage:", +[](id view, SEL, id image) -> id {
                initWithImage(self(view), objc::cast<UIImage>(image));
                return view;
            });
        objc::addMethod(
            c, "image", +[](id view, SEL) -> id { return self(view)->image(); });
        objc::addMethod(
            c,
            "setImage:", +[](id view, SEL, id image) { self(view)->setImage(objc::cast<UIImage>(image)); });
        objc_registerClassPair(c);
        return c;
    }();
    return cls;
}
