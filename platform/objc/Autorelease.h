#pragma once

#include "Object.h"

namespace objc {

// Hands an object to the current autorelease pool, which keeps it alive until the pool
// drains. Objects that methods create and answer (alloc, factories, getters of
// computed values) live there until the caller keeps its own reference.
id autorelease(id object);

// A pool scope: objects autoreleased inside it are released when it ends. The run
// loop opens one per event, as UIKit does.
class AutoreleasePool {
public:
    AutoreleasePool();
    ~AutoreleasePool();
    AutoreleasePool(const AutoreleasePool&) = delete;
    AutoreleasePool& operator=(const AutoreleasePool&) = delete;

private:
    std::size_t mark_;
};

} // namespace objc
