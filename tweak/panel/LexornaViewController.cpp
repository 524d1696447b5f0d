#include "LexornaViewController.h"
#include "ExportFile.h"

#include "activation/InstalledFiles.h"

#include "ui/Colors.h"
#include "ui/Constraints.h"
#include "ui/Presentation.h"
#include "ui/VDManager.h"

#include "Runtime.h"

using objc::send;

namespace {

bool isOperatingSystemAtLeast(NSInteger major) {
    id processInfo = send<id>(objc_getClass("NSProcessInfo"), "processInfo");
    return send<bool>(processInfo, "isOperatingSystemAtLeastVersion:", NSOperatingSystemVersion{major, 0, 0});
}

constexpr const char* SharePicturePath = "/Library/Application Support/Lexorna.bundle/Share.png";

Class panel = nullptr;
ptrdiff_t textOffset = 0; // of the `_text` instance variable, as the property accessors take it

// The atomic, strong `text` property, as the compiler synthesises it.
id text(id self, SEL cmd) {
    return objc_getProperty(self, cmd, textOffset, true);
}
void setText(id self, SEL cmd, id value) {
    objc_setProperty(self, cmd, textOffset, value, true, false);
}

id manager() {
    return VDManagerClass();
}

id font(double size) {
    return send<id>(objc_getClass("UIFont"), "systemFontOfSize:", size);
}

// Panel body: the dark card, centred on the controller's view.
id makeBody(id view) {
    id body = send<id>(manager(), "InitViewWithBGColor:Frame:BackgroundImage:InView:", greyColor(21),
                       CGRectNull, static_cast<id>(nullptr), view);
    send(body, "setClipsToBounds:", true);
    send(send<id>(body, "layer"), "setCornerRadius:", 12.0);
    send(body, "setTranslatesAutoresizingMaskIntoConstraints:", false);
    activateEdgeConstraints(body, {{view, "centerYAnchor", -150.0},
                                   {view, "centerXAnchor", -150.0},
                                   {view, "centerXAnchor", 150.0},
                                   {view, "centerYAnchor", 150.0}});
    return body;
}

// Title bar: above the body, standing out one point on three sides, rounded on top only
// where the system can mask corners.
id makeTitleBar(id view, id body) {
    id bar = send<id>(manager(), "InitViewWithBGColor:Frame:BackgroundImage:InView:", greyColor(18),
                      CGRectNull, static_cast<id>(nullptr), view);
    send(bar, "setClipsToBounds:", true);
    id layer = send<id>(bar, "layer");
    send(layer, "setCornerRadius:", 12.0);
    send(layer, "setBorderWidth:", 0.1);
    if (isOperatingSystemAtLeast(11))
        send(layer, "setMaskedCorners:", 3UL);
    send(bar, "setTranslatesAutoresizingMaskIntoConstraints:", false);
    activateEdgeConstraints(bar, {{body, "topAnchor", -1.0},
                                  {body, "leadingAnchor", -1.0},
                                  {body, "trailingAnchor", 1.0},
                                  {body, "topAnchor", 40.0}});
    return bar;
}

void makeDoneButton(id self, id bar) {
    id done = send<id>(manager(), "InitButtonWithName:Frame:InView:Target:Action:", objc::string("Done"),
                       CGRectNull, bar, self, sel_registerName("Close"));
    send(done, "setClipsToBounds:", true);
    send(send<id>(done, "titleLabel"), "setFont:", font(16.0));
    send(done, "setTitleColor:forState:", rgbColor(0.0, 75.0 / 255.0, 1.0), 0UL);
    send(done, "setTranslatesAutoresizingMaskIntoConstraints:", false);
    activateEdgeConstraints(done, {{bar, "topAnchor", {}},
                                   {bar, "leadingAnchor", 1.5},
                                   {bar, "leadingAnchor", 60.0},
                                   {bar, "bottomAnchor", {}}});
}

// The Share icon: an image view with a transparent button over it. Without the picture
// the 31 by 31 point area still shares.
void makeShareButton(id self, id bar) {
    id image = send<id>(objc_getClass("UIImage"), "imageNamed:", installedFilePath(SharePicturePath));
    id elements = send<id>(manager(), "InitButtonImage:InView:Target:Action:", image, bar, self,
                           sel_registerName("Share"));
    id imageView = send<id>(elements, "objectAtIndex:", 1UL);
    send(imageView, "setClipsToBounds:", true);
    send(imageView, "setTranslatesAutoresizingMaskIntoConstraints:", false);
    activateEdgeConstraints(imageView, {{bar, "topAnchor", 5.0},
                                        {bar, "trailingAnchor", -36.0},
                                        {bar, "trailingAnchor", -5.0},
                                        {bar, "bottomAnchor", -5.0}});
}

void makeTitle(id bar) {
    id title =
        send<id>(manager(), "InitLabelWithName:Frame:InView:", objc::string("Lexorna"), CGRectNull, bar);
    send(title, "setTextColor:", whiteColor());
    send(title, "setTextAlignment:", 1L);
    send(title, "setFont:", font(15.0));
    send(title, "setTranslatesAutoresizingMaskIntoConstraints:", false);
    activateEdgeConstraints(title, {{bar, "topAnchor", {}},
                                    {bar, "centerXAnchor", -60.0},
                                    {bar, "centerXAnchor", 60.0},
                                    {bar, "bottomAnchor", {}}});
}

void makeTextView(id self, id body, id bar) {
    id textView = send<id>(manager(), "InitTextViewWithFrame:BackgroundColor:TextColor:InView:", CGRectNull,
                           greyColor(24), whiteColor(), body);
    send(textView, "setEditable:", true);
    send(textView, "setClipsToBounds:", true);
    send(textView, "setFont:", font(12.5));
    send(textView, "setTextAlignment:", 1L);
    // A line break, then the text. A nil text shows the line break alone: the panel must
    // not show the user "(null)", a message that does not exist.
    id shown = send<id>(self, "text");
    id lineBreak = objc::string("\n");
    send(textView, "setText:", shown ? send<id>(lineBreak, "stringByAppendingString:", shown) : lineBreak);
    send(textView, "setTranslatesAutoresizingMaskIntoConstraints:", false);
    activateEdgeConstraints(textView, {{bar, "bottomAnchor", 0.0},
                                       {body, "leadingAnchor", 0.0},
                                       {body, "trailingAnchor", 0.0},
                                       {body, "bottomAnchor", 0.0}});
}

void viewDidLoad(id self, SEL) {
    objc::sendSuper(self, panel, "viewDidLoad");
    id view = send<id>(self, "view");
    id body = makeBody(view);
    id bar = makeTitleBar(view, body);
    makeDoneButton(self, bar);
    makeShareButton(self, bar);
    makeTitle(bar);
    makeTextView(self, body, bar);
}

void close(id self, SEL) {
    send(self, "dismissViewControllerAnimated:completion:", true, static_cast<id>(nullptr));
}

void share(id self, SEL) {
    // The sheet is only offered for a file that holds this panel's text: after a failed
    // write it could hold another message's text from an earlier Share.
    if (!writeExportFile(send<id>(self, "text")))
        return;
    send<id>(VDManagerClass(), "ShareItemAtPath:InViewController:", exportFilePath(), topMostController());
}

} // namespace

Class LexornaViewControllerClass() {
    return panel;
}

void registerLexornaViewController() {
    Class c = objc_allocateClassPair(objc_getClass("UIViewController"), "LexornaViewController", 0);
    if (!c)
        return;
    // The alignment is given as log2 of its bytes.
    if (!class_addIvar(c, "_text", sizeof(id), 3, "@"))
        return;
    objc::addMethod(c, "text", text);
    objc::addMethod(c, "setText:", setText);
    objc::addMethod(c, "viewDidLoad", viewDidLoad);
    objc::addMethod(c, "Close", close);
    objc::addMethod(c, "Share", share);
    objc_registerClassPair(c);
    textOffset = ivar_getOffset(class_getInstanceVariable(c, "_text"));
    panel = c;
}

void presentTextPanel(id text) {
    if (!panel)
        return;
    id controller = send<id>(send<id>(panel, "alloc"), "init");
    send(controller, "setText:", text);
    send(topMostController(), "presentViewController:animated:completion:", controller, true,
         static_cast<id>(nullptr));
    // The presentation keeps the panel for as long as it lasts.
    send(controller, "release");
}
