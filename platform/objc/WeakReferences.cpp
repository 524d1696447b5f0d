#include "Weak.h"

#include <algorithm>
#include <mutex>
#include <unordered_map>
#include <vector>

namespace objc {

namespace {

// The weak references to each object that has any, by the slots that hold them.
struct WeakTable {
    std::mutex lock;
    std::unordered_map<const Object*, std::vector<Object**>> slots;
};

WeakTable& weakTable() {
    static WeakTable* table = new WeakTable; // never destroyed: objects may outlive statics
    return *table;
}

} // namespace

void storeWeak(Object** slot, Object* object) {
    WeakTable& table = weakTable();
    std::lock_guard guard(table.lock);
    if (*slot) {
        auto entry = table.slots.find(*slot);
        if (entry != table.slots.end()) {
            std::erase(entry->second, slot);
            if (entry->second.empty())
                table.slots.erase(entry);
        }
    }
    *slot = object;
    if (object) {
        table.slots[object].push_back(slot);
        object->markWeaklyReferenced();
    }
}

void Object::clearWeakReferences() const {
    WeakTable& table = weakTable();
    std::lock_guard guard(table.lock);
    auto entry = table.slots.find(this);
    if (entry == table.slots.end())
        return;
    for (Object** slot : entry->second)
        *slot = nullptr;
    table.slots.erase(entry);
}

} // namespace objc
