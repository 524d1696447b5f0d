// Any bytes as a binary property list, read with the limits every file read has.

#include "PropertyListWalk.h"

#include "foundation/PropertyListBinaryReader.h"
#include "objc/Autorelease.h"

#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    objc::AutoreleasePool pool;
    std::string_view bytes(reinterpret_cast<const char*>(data), size);
    walkPropertyList(readBinaryPropertyList(bytes, {}, PropertyListMutability::MutableRoot));
    return 0;
}
