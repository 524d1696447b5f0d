#include "NSPathUtilities.h"

namespace {
std::string& homeStorage() {
    static auto* home = new std::string("/var/mobile");
    return *home;
}
} // namespace

NSString* NSHomeDirectory() {
    return NSString::make(homeStorage());
}
void setHomeDirectory(std::string devicePath) {
    homeStorage() = std::move(devicePath);
}
