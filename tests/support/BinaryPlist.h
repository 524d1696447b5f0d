#pragma once

// A property list in the binary format, as libplist's own writer makes it from XML.

#include <plist/plist.h>

#include <cstdint>
#include <cstdlib>
#include <string>

inline std::string binaryPlist(const std::string& xml) {
    plist_t root = nullptr;
    plist_from_xml(xml.data(), static_cast<std::uint32_t>(xml.size()), &root);
    char* bytes = nullptr;
    std::uint32_t length = 0;
    plist_to_bin(root, &bytes, &length);
    std::string out(bytes ? bytes : "", length);
    std::free(bytes);
    plist_free(root);
    return out;
}
