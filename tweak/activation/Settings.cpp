#include "Settings.h"

#include "Runtime.h"

using objc::send;

namespace {

// Foundation's boolValue. A value without one (an array, a dictionary, data, a date)
// is outside the settings' format and reads false instead of stopping the host.
bool boolValueOf(id value) {
    if (!send<bool>(value, "respondsToSelector:", sel_registerName("boolValue")))
        return false;
    return send<bool>(value, "boolValue");
}

} // namespace

bool readSetting(const char* key) {
    // The dictionary lives only as long as this read.
    objc::AutoreleasePool pool;
    id settings = send<id>(send<id>(objc_getClass("NSMutableDictionary"), "alloc"),
                           "initWithContentsOfFile:", objc::string(SettingsPath));
    bool value = boolValueOf(send<id>(settings, "objectForKey:", objc::string(key)));
    send(settings, "release");
    return value;
}
