#pragma once

#include "NSObject.h"

#include <vector>

// An ordered list of objects. Iterating it in C++ is its fast enumeration.
class NSArray : public NSObject {
    OBJC_NATIVE_CLASS(NSArray) : NSObject(isa) {}

    static NSArray* make(std::vector<objc::Ref<objc::Object>> objects);
    static objc::Ref<NSArray> makeOwned(std::vector<objc::Ref<objc::Object>> objects);

    std::size_t count() const { return objects_.size(); }
    // Raises NSRangeException for an index past the end, as -objectAtIndex: does.
    id objectAtIndex(std::size_t index) const;
    auto begin() const { return objects_.begin(); }
    auto end() const { return objects_.end(); }

    bool isEqual(const NSObject* other) const override;

protected:
    std::vector<objc::Ref<objc::Object>> objects_;
};

class NSMutableArray : public NSArray {
    OBJC_NATIVE_CLASS(NSMutableArray) : NSArray(isa) {}

    static NSMutableArray* make();
    void addObject(id object);
};
