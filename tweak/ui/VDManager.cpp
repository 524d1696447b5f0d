#include "VDManager.h"
#include "Constraints.h"
#include "panel/ShareSheet.h"

#include "Runtime.h"

using objc::send;

namespace {

Class vdManager = nullptr;

Class cls(const char* name) {
    return objc_getClass(name);
}

// An image view with a transparent button over it: the button takes the touches, the
// image view shows the picture. The caller places the image view; the button follows it
// through four constraints. Answers [button, image view].
id initButtonImage(id, SEL, id image, id view, id target, SEL action) {
    id imageView = send<id>(send<id>(send<id>(cls("UIImageView"), "alloc"), "init"), "autorelease");
    send(imageView, "setImage:", image);
    send(send<id>(imageView, "layer"), "setMasksToBounds:", true);
    send(view, "addSubview:", imageView);

    id button = send<id>(cls("UIButton"), "buttonWithType:", 0L);
    send(button, "setTitle:forState:", objc::string(""), 0UL);
    send(button, "addTarget:action:forControlEvents:", target, action, 64UL);
    send(view, "addSubview:", button);
    send(button, "setTranslatesAutoresizingMaskIntoConstraints:", false);

    // Without a view the two are made but not placed: constraints between views that share
    // no ancestor would raise.
    if (view)
        pinEdges(button, imageView, 0.0, 0.0, 0.0, 0.0);

    id elements[2] = {button, imageView};
    return send<id>(cls("NSArray"), "arrayWithObjects:count:", static_cast<id*>(elements), 2UL);
}

id initButtonWithName(id, SEL, id name, CGRect frame, id view, id target, SEL action) {
    id button = send<id>(cls("UIButton"), "buttonWithType:", 0L);
    send(button, "setFrame:", frame);
    send(button, "setTitle:forState:", name, 0UL);
    send(button, "addTarget:action:forControlEvents:", target, action, 64UL);
    send(view, "addSubview:", button);
    return button;
}

id initLongPressGestureRecognizer(id, SEL, id view, float duration, unsigned long touches, id target,
                                  SEL action) {
    id recognizer = send<id>(send<id>(send<id>(cls("UILongPressGestureRecognizer"), "alloc"),
                                      "initWithTarget:action:", target, action),
                             "autorelease");
    send(recognizer, "setNumberOfTouchesRequired:", touches);
    // The duration arrives as a single-precision float and is widened: 0.4 becomes
    // 0.4000000059604645 seconds.
    send(recognizer, "setMinimumPressDuration:", static_cast<double>(duration));
    send(view, "addGestureRecognizer:", recognizer);
    return recognizer;
}

id initTextView(id, SEL, CGRect frame, id backgroundColor, id textColor, id view) {
    id textView =
        send<id>(send<id>(send<id>(cls("UITextView"), "alloc"), "initWithFrame:", frame), "autorelease");
    send(textView, "setBackgroundColor:", backgroundColor);
    send(textView, "setTextColor:", textColor);
    send(view, "addSubview:", textView);
    return textView;
}

id initTapGestureRecognizer(id, SEL, id view, unsigned long taps, unsigned long touches, id target,
                            SEL action) {
    id recognizer = send<id>(
        send<id>(send<id>(cls("UITapGestureRecognizer"), "alloc"), "initWithTarget:action:", target, action),
        "autorelease");
    send(recognizer, "setNumberOfTapsRequired:", taps);
    send(recognizer, "setNumberOfTouchesRequired:", touches);
    // The target is the recogniser's delegate: delegate methods that the host's class
    // implements govern the recogniser too.
    send(recognizer, "setDelegate:", target);
    send(view, "addGestureRecognizer:", recognizer);
    return recognizer;
}

id initViewWithBGColor(id, SEL, id color, CGRect frame, id image, id view) {
    id plain = send<id>(send<id>(send<id>(cls("UIView"), "alloc"), "initWithFrame:", frame), "autorelease");
    send(plain, "setBackgroundColor:", color);
    // Flexible left and top margins: the view keeps its distance to its superview's right
    // and bottom edges while it follows its autoresizing mask.
    send(plain, "setAutoresizingMask:", 9UL);
    if (image)
        send(send<id>(plain, "layer"), "setContents:", send<id>(image, "CGImage"));
    send(view, "addSubview:", plain);
    return plain;
}

id initLabelWithName(id, SEL, id name, CGRect frame, id view) {
    id label = send<id>(send<id>(send<id>(cls("UILabel"), "alloc"), "initWithFrame:", frame), "autorelease");
    send(label, "setText:", name);
    send(view, "addSubview:", label);
    return label;
}

} // namespace

Class VDManagerClass() {
    return vdManager;
}

void registerVDManager() {
    Class c = objc_allocateClassPair(objc_getClass("NSObject"), "VDManager", 0);
    if (!c)
        return;
    // In the order of the class's method list.
    objc::addClassMethod(c, "InitButtonImage:InView:Target:Action:", initButtonImage);
    objc::addClassMethod(c, "ShareItemAtPath:InViewController:", ShareItemAtPath);
    objc::addClassMethod(c, "InitButtonWithName:Frame:InView:Target:Action:", initButtonWithName);
    objc::addClassMethod(
        c, "InitLongPressGestureRecognizerInView:PressDuration:NumberOfTouchesRequired:Target:Actions:",
        initLongPressGestureRecognizer);
    objc::addClassMethod(c, "InitTextViewWithFrame:BackgroundColor:TextColor:InView:", initTextView);
    objc::addClassMethod(
        c, "InitTapGestureRecognizerInView:NumberOfTapsRequired:NumberOfTouchesRequired:Target:Actions:",
        initTapGestureRecognizer);
    objc::addClassMethod(c, "InitViewWithBGColor:Frame:BackgroundImage:InView:", initViewWithBGColor);
    objc::addClassMethod(c, "InitLabelWithName:Frame:InView:", initLabelWithName);
    objc_registerClassPair(c);
    vdManager = c;
}
