#include "BundleFilter.h"
#include "InstalledFiles.h"

using objc::send;

namespace {

bool isKindOf(id object, const char* className) {
    return send<bool>(object, "isKindOfClass:", objc_getClass(className));
}

} // namespace

extern "C" BOOL Check_If_Bundle_Exists(NSString* bundleIdentifier) {
    objc::AutoreleasePool pool;
    // The pool lets go of the filter when the check ends.
    id filter = send<id>(send<id>(send<id>(objc_getClass("NSMutableDictionary"), "alloc"),
                                  "initWithContentsOfFile:", installedFilePath(FilterPath)),
                         "autorelease");
    // A "Filter" that is not a dictionary, or "Bundles" that is not an array, lists no
    // app rather than stopping the host.
    id bundleFilter = send<id>(filter, "objectForKey:", objc::string("Filter"));
    if (!isKindOf(bundleFilter, "NSDictionary"))
        return NO;
    id bundles = send<id>(bundleFilter, "objectForKey:", objc::string("Bundles"));
    if (!isKindOf(bundles, "NSArray"))
        return NO;
    BOOL listed = NO;
    auto count = send<NSUInteger>(bundles, "count");
    for (NSUInteger i = 0; i < count; ++i)
        if (send<bool>(send<id>(bundles, "objectAtIndex:", i), "isEqual:", static_cast<id>(bundleIdentifier)))
            listed = YES;
    return listed;
}
