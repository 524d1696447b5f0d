// Any bytes as an XML property list, read with the limits every file read has.

#include "PropertyListWalk.h"

#include "foundation/PropertyListXmlReader.h"
#include "objc/Autorelease.h"

#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    objc::AutoreleasePool pool;
    std::string_view bytes(reinterpret_cast<const char*>(data), size);
    walkPropertyList(readXmlPropertyList(bytes, {}, PropertyListMutability::MutableRoot));
    return 0;
}
