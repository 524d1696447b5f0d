#include "ShareSheet.h"

#include "Runtime.h"

using objc::send;

id ShareItemAtPath(id, SEL, id path, id controller) {
    id items = send<id>(send<id>(objc_getClass("NSMutableArray"), "new"), "autorelease");
    // The item shared is the file, not its text.
    send(items, "addObject:", send<id>(objc_getClass("NSURL"), "fileURLWithPath:isDirectory:", path, false));
    id sheet =
        send<id>(send<id>(send<id>(objc_getClass("UIActivityViewController"), "alloc"),
                          "initWithActivityItems:applicationActivities:", items, static_cast<id>(nullptr)),
                 "autorelease");
    send(controller, "presentViewController:animated:completion:", sheet, true, objc::emptyBlock());
    return sheet;
}
