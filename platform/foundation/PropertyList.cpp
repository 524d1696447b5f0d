#include "PropertyList.h"
#include "PropertyListBinaryReader.h"
#include "PropertyListXmlReader.h"

#include "device/Files.h"

id propertyListFromBytes(std::string_view bytes, const PropertyListLimits& limits,
                         PropertyListMutability mutability) {
    if (bytes.size() > limits.maxBytes)
        return nullptr;
    if (bytes.starts_with("bplist"))
        return readBinaryPropertyList(bytes, limits, mutability);
    return readXmlPropertyList(bytes, limits, mutability);
}

id propertyListWithContentsOfFile(std::string_view devicePath, const PropertyListLimits& limits,
                                  PropertyListMutability mutability) {
    // Settings are read on every layout pass of a hooked view: one buffer per thread
    // serves every read, and gives back what a large file took.
    thread_local std::string buffer;
    auto bytes = device::readFileInto(buffer, devicePath, limits.maxBytes);
    id list = bytes ? propertyListFromBytes(*bytes, limits, mutability) : nullptr;
    if (buffer.size() > device::FirstReadBytes)
        std::string().swap(buffer);
    return list;
}
