// Any bytes as the loader's filter list, then the check the library's constructor makes,
// for the five hosts and identifiers that differ from them only slightly.

#include "FuzzDevice.h"

#include "activation/BundleFilter.h"
#include "objc/Autorelease.h"

#include <cstdint>
#include <string_view>

namespace {

constexpr const char* Identifiers[] = {"net.whatsapp.WhatsApp", "com.google.ios.youtube",
                                       "com.atebits.Tweetie2",  "com.burbn.instagram",
                                       "com.apple.MobileSMS",   "",
                                       "NET.WHATSAPP.WHATSAPP", "com.apple.MobileSMS "};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    writeFuzzDeviceFile(FilterPath, std::string_view(reinterpret_cast<const char*>(data), size));
    objc::AutoreleasePool pool;
    for (const char* identifier : Identifiers)
        Check_If_Bundle_Exists(NSString::make(identifier));
    return 0;
}
