#include "BundleFilter.h"

#include "foundation/NSArray.h"
#include "foundation/NSDictionary.h"

using objc::send;

extern "C" BOOL Check_If_Bundle_Exists(NSString* bundleIdentifier) {
    objc::AutoreleasePool pool;
    id filter = send<id>(send<id>(NSMutableDictionary::staticClass(), "alloc"),
                         "initWithContentsOfFile:", NSString::make(FilterPath));
    // A "Filter" that is not a dictionary, or "Bundles" that is not an array, lists no
    // app rather than stopping the host.
    auto* bundleFilter =
        objc::dynCast<NSDictionary>(send<id>(filter, "objectForKey:", NSString::make("Filter")));
    auto* bundles =
        objc::dynCast<NSArray>(send<id>(bundleFilter, "objectForKey:", NSString::make("Bundles")));
    if (!bundles)
        return NO;
    BOOL listed = NO;
    for (const auto& element : *bundles)
        if (send<bool>(element.get(), "isEqual:", bundleIdentifier))
            listed = YES;
    return listed;
}
