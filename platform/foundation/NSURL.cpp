#include "NSURL.h"
#include "NSString.h"

#include "objc/Exception.h"

#include <functional>

NSURL* NSURL::fileURLWithPath(std::string_view path, bool isDirectory) {
    auto* url = objc::make<NSURL>(staticClass());
    while (path.size() > 1 && path.ends_with('/'))
        path.remove_suffix(1);
    url->path_ = path;
    url->fileURL_ = true;
    url->directory_ = isDirectory;
    return url;
}

std::string NSURL::absoluteString() const {
    if (!fileURL_)
        return {};
    static constexpr std::string_view Kept = "-._~!$&'()*+,;=:@/";
    static constexpr char Hex[] = "0123456789ABCDEF";
    std::string out = "file://";
    for (unsigned char c : path_) {
        bool alphanumeric = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
        if (alphanumeric || Kept.find(static_cast<char>(c)) != std::string_view::npos) {
            out += static_cast<char>(c);
        } else {
            out += '%';
            out += Hex[c >> 4];
            out += Hex[c & 0xF];
        }
    }
    if (directory_ && !out.ends_with('/'))
        out += '/';
    return out;
}

bool NSURL::isEqual(const NSObject* other) const {
    auto* url = objc::dynCast<NSURL>(const_cast<NSObject*>(other));
    return url && url->absoluteString() == absoluteString();
}

std::size_t NSURL::hash() const {
    return std::hash<std::string>{}(absoluteString());
}

Class NSURL::staticClass() {
    static Class cls = [] {
        Class c = objc::defineNativeClass<NSURL>("NSURL", NSObject::staticClass());
        objc::addClassMethod(
            c, "fileURLWithPath:isDirectory:", +[](id, SEL, id path, bool isDirectory) -> id {
                if (!path)
                    objc::raise(objc::NSInvalidArgumentException,
                                "*** -[NSURL initFileURLWithPath:isDirectory:]: nil string parameter");
                return NSURL::fileURLWithPath(objc::cast<NSString>(path)->utf8(), isDirectory);
            });
        objc::addMethod(
            c, "path", +[](id self, SEL) -> id {
                auto* url = static_cast<NSURL*>(self);
                return url->isFileURL() ? NSString::make(url->path()) : nullptr;
            });
        objc::addMethod(
            c, "isFileURL", +[](id self, SEL) -> bool { return static_cast<NSURL*>(self)->isFileURL(); });
        objc::addMethod(
            c, "absoluteString",
            +[](id self, SEL) -> id { return NSString::make(static_cast<NSURL*>(self)->absoluteString()); });
        objc_registerClassPair(c);
        return c;
    }();
    return cls;
}
