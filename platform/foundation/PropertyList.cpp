#include "PropertyList.h"
#include "PropertyListBinaryReader.h"
#include "PropertyListXmlReader.h"

#include "device/Files.h"

id propertyListFromBytes(std::string_view bytes, const PropertyListLimits& limits) {
    if (bytes.size() > limits.maxBytes)
        return nullptr;
    if (bytes.starts_with("bplist"))
        return readBinaryPropertyList(bytes, limits);
    return readXmlPropertyList(bytes, limits);
}

id propertyListWithContentsOfFile(std::string_view devicePath, const PropertyListLimits& limits) {
    auto bytes = device::readFile(devicePath, limits.maxBytes);
    if (!bytes)
        return nullptr;
    return propertyListFromBytes(*bytes, limits);
}
