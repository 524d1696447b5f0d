#include "NSFileManager.h"
#include "NSData.h"
#include "NSString.h"

#include "device/Device.h"
#include "device/Files.h"

NSFileManager* NSFileManager::defaultManager() {
    // Lives as long as the process, as the shared manager does.
    static auto* manager =
        new objc::Ref<NSFileManager>(static_cast<NSFileManager*>(class_createInstance(staticClass(), 0)));
    return manager->get();
}

bool NSFileManager::createFileAtPath(std::string_view devicePath, std::string_view contents) {
    return device::writeFileAtomically(devicePath, contents).hasValue();
}

bool NSFileManager::fileExistsAtPath(std::string_view devicePath, bool* isDirectory) const {
    if (devicePath.empty())
        return false;
    auto kind = device::entryKind(devicePath);
    if (!kind || *kind == device::EntryKind::Missing)
        return false;
    if (isDirectory)
        *isDirectory = *kind == device::EntryKind::Folder;
    return true;
}

bool NSFileManager::removeItemAtPath(std::string_view devicePath) {
    if (devicePath.empty())
        return false;
    return device::removeItem(devicePath).hasValue();
}

Class NSFileManager::staticClass() {
    static Class cls = [] {
        Class c = objc::defineNativeClass<NSFileManager>("NSFileManager", NSObject::staticClass());
        objc::addClassMethod(
            c, "defaultManager", +[](id, SEL) -> id { return NSFileManager::defaultManager(); });
        objc::addMethod(
            c, "createFileAtPath:contents:attributes:", +[](id self, SEL, id path, id contents, id) -> bool {
                if (!path)
                    return false;
                // nil contents make an empty file, as Foundation's do.
                auto* data = objc::cast<NSData>(contents);
                return static_cast<NSFileManager*>(self)->createFileAtPath(
                    objc::cast<NSString>(path)->utf8(),
                    data ? std::string_view(data->bytes()) : std::string_view());
            });
        objc::addMethod(
            c, "fileExistsAtPath:", +[](id self, SEL, id path) -> bool {
                return path && static_cast<NSFileManager*>(self)->fileExistsAtPath(
                                   objc::cast<NSString>(path)->utf8());
            });
        objc::addMethod(
            c, "fileExistsAtPath:isDirectory:", +[](id self, SEL, id path, bool* isDirectory) -> bool {
                return path && static_cast<NSFileManager*>(self)->fileExistsAtPath(
                                   objc::cast<NSString>(path)->utf8(), isDirectory);
            });
        // No NSError is modelled: a failure answers NO and leaves *error as it was.
        objc::addMethod(
            c, "removeItemAtPath:error:", +[](id self, SEL, id path, id*) -> bool {
                return path && static_cast<NSFileManager*>(self)->removeItemAtPath(
                                   objc::cast<NSString>(path)->utf8());
            });
        objc_registerClassPair(c);
        return c;
    }();
    return cls;
}
