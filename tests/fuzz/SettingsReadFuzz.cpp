// Any bytes as the settings file, then every key the library reads, each read as a
// trigger hook makes it.

#include "FuzzDevice.h"

#include "activation/Settings.h"

#include <cstdint>
#include <string_view>

namespace {

constexpr const char* Keys[] = {"Aw",           "WhatsApp",     "Youtube",      "Twitter",
                                "Instagram",    "Messages",     "WACustomView", "YTCustomView",
                                "TWCustomView", "INCustomView", "MECustomView"};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    writeFuzzDeviceFile(SettingsPath, std::string_view(reinterpret_cast<const char*>(data), size));
    for (const char* key : Keys)
        readSetting(key);
    return 0;
}
