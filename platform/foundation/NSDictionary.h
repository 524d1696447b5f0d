#pragma once

#include "NSObject.h"

#include <string_view>
#include <utility>
#include <vector>

// Keys and values, keys compared by -isEqual:. Property lists are small, so a list of
// pairs serves; insertion order is kept, which makes reports stable.
class NSDictionary : public NSObject {
    OBJC_NATIVE_CLASS(NSDictionary) : NSObject(isa) {}

    using Entry = std::pair<objc::Ref<objc::Object>, objc::Ref<objc::Object>>;
    static NSDictionary* make(std::vector<Entry> entries);
    static objc::Ref<NSDictionary> makeOwned(std::vector<Entry> entries);

    id objectForKey(id key) const;
    id objectForKey(std::string_view key) const;
    std::size_t count() const { return entries_.size(); }
    auto begin() const { return entries_.begin(); }
    auto end() const { return entries_.end(); }

    bool isEqual(const NSObject* other) const override;

protected:
    std::vector<Entry> entries_;
};

class NSMutableDictionary : public NSDictionary {
    OBJC_NATIVE_CLASS(NSMutableDictionary) : NSDictionary(isa) {}

    static NSMutableDictionary* make(std::vector<Entry> entries = {});
    static objc::Ref<NSMutableDictionary> makeOwned(std::vector<Entry> entries);
    void setObjectForKey(id object, id key);
    // -initWithContentsOfFile:: the property list at a device path if its root is a
    // dictionary; nil for a missing file, one that does not parse, or another root.
    static NSMutableDictionary* dictionaryWithContentsOfFile(std::string_view devicePath);
};
