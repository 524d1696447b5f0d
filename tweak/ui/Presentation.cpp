#include "Presentation.h"

#include "Runtime.h"

using objc::send;

id _topMostController(id controller) {
    id top = controller;
    while (id presented = send<id>(top, "presentedViewController"))
        top = presented;
    // Only navigation controllers are looked into; tab bars and other containers are not.
    if (send<bool>(top, "isKindOfClass:", send<Class>(objc_getClass("UINavigationController"), "class"))) {
        if (id visible = send<id>(top, "visibleViewController"))
            top = visible;
    }
    return top == controller ? nullptr : top;
}

id topMostController() {
    id application = send<id>(objc_getClass("UIApplication"), "sharedApplication");
    id top = send<id>(send<id>(application, "keyWindow"), "rootViewController");
    while (id next = _topMostController(top))
        top = next;
    return top;
}

void Alert(NSString* title, NSString* message) {
    id alert = send<id>(objc_getClass("UIAlertController"),
                        "alertControllerWithTitle:message:preferredStyle:", static_cast<id>(title),
                        static_cast<id>(message), 1L);
    // Tapping "OK" only closes the alert.
    id ok = send<id>(objc_getClass("UIAlertAction"), "actionWithTitle:style:handler:", objc::string("OK"), 0L,
                     objc::emptyBlock());
    send(alert, "addAction:", ok);
    send(topMostController(), "presentViewController:animated:completion:", alert, true,
         static_cast<id>(nullptr));
}

id GetIvar(NSObject* object, NSString* key) {
    // Key-value lookup raises for a key the object does not have; a reader of arbitrary
    // objects gets nil instead, so the host keeps running. Any other exception is not
    // this function's to swallow.
    id value = nullptr;
    if (!objc::catching("NSUnknownKeyException", [&] {
            value = send<id>(static_cast<id>(object), "valueForKey:", static_cast<id>(key));
        }))
        return nullptr;
    return value;
}
