#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace objc {

// A small per-thread cache in front of a table that is looked up by name. Most names
// come from the same literals again and again (a send names its selector, code names
// its classes and constant strings), so the name's address picks a slot, and the
// slot's value is taken when the name it was found for has the same bytes: a
// comparison that costs less than hashing, and that stays right when a buffer is reused
// for another name. Use it as a thread_local.
template <class Value, std::size_t Size = 256> class NameCache {
    static_assert((Size & (Size - 1)) == 0, "the index is a mask");

public:
    // `nameOf(value)` is the name a value was found for; `find(name)` the table's answer.
    template <class NameOf, class Find> Value lookup(std::string_view name, NameOf nameOf, Find find) {
        Slot& slot = slots_[(reinterpret_cast<std::uintptr_t>(name.data()) >> 3) & (Size - 1)];
        if (slot.text == name.data() && slot.value && nameOf(slot.value) == name)
            return slot.value;
        Value value = find(name);
        slot = {name.data(), value};
        return value;
    }

private:
    struct Slot {
        const char* text = nullptr;
        Value value{};
    };
    std::array<Slot, Size> slots_{};
};

} // namespace objc
