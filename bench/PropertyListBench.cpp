// Reading the settings file: every layout pass of a hooked host view loads and parses it
// anew on the main thread, so this is the cost a host pays per pass.

#include "device/Device.h"
#include "foundation/NSDictionary.h"
#include "foundation/NSString.h"
#include "foundation/PropertyList.h"

#include <benchmark/benchmark.h>
#include <plist/plist.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace {

constexpr const char* Keys[] = {"Aw",           "WhatsApp",     "Youtube",      "Twitter",
                                "Instagram",    "Messages",     "WACustomView", "YTCustomView",
                                "TWCustomView", "INCustomView", "MECustomView"};

plist_t settingsTree() {
    plist_t root = plist_new_dict();
    bool value = true;
    for (const char* key : Keys) {
        plist_dict_set_item(root, key, plist_new_bool(value));
        value = !value;
    }
    return root;
}

std::string settingsBytes(bool binary) {
    plist_t root = settingsTree();
    char* bytes = nullptr;
    std::uint32_t length = 0;
    if (binary)
        plist_to_bin(root, &bytes, &length);
    else
        plist_to_xml(root, &bytes, &length);
    std::string out(bytes, length);
    std::free(bytes);
    plist_free(root);
    return out;
}

// A device of its own with both settings files, removed when the run ends.
class BenchDevice {
public:
    BenchDevice() {
        std::string folder = (std::filesystem::temp_directory_path() / "lexorna-bench-XXXXXX").string();
        if (!::mkdtemp(folder.data()))
            std::abort();
        root_ = folder;
        device::Device::setRoot(root_);
        put(XmlPath, settingsBytes(false));
        put(BinaryPath, settingsBytes(true));
    }
    ~BenchDevice() {
        std::error_code error;
        std::filesystem::remove_all(root_, error);
    }

    static constexpr const char* XmlPath = "/var/mobile/Library/Preferences/xml.plist";
    static constexpr const char* BinaryPath = "/var/mobile/Library/Preferences/binary.plist";

private:
    static void put(const char* devicePath, const std::string& bytes) {
        auto path = device::Device::resolve(devicePath);
        std::filesystem::create_directories(path.parent_path());
        std::ofstream(path, std::ios::binary) << bytes;
    }

    std::filesystem::path root_;
};

const BenchDevice& benchDevice() {
    static BenchDevice device;
    return device;
}

void ParseSettingsBytes(benchmark::State& state) {
    std::string bytes = settingsBytes(state.range(0) != 0);
    for (auto _ : state) {
        objc::AutoreleasePool pool;
        benchmark::DoNotOptimize(propertyListFromBytes(bytes));
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes.size()));
}
BENCHMARK(ParseSettingsBytes)->ArgName("binary")->Arg(0)->Arg(1);

// One settings read as a trigger hook makes it: load the file into a mutable
// dictionary, look the key up, take its boolean reading.
void ReadSettingsKeyFromFile(benchmark::State& state) {
    benchDevice();
    const char* path = state.range(0) ? BenchDevice::BinaryPath : BenchDevice::XmlPath;
    for (auto _ : state) {
        objc::AutoreleasePool pool;
        // The same messages the library sends.
        id settings = objc::send<id>(objc::send<id>(NSMutableDictionary::staticClass(), "alloc"),
                                     "initWithContentsOfFile:", NSString::make(path));
        id value = objc::send<id>(settings, "objectForKey:", NSString::make("WACustomView"));
        bool on = objc::send<bool>(value, "respondsToSelector:", sel_registerName("boolValue")) &&
                  objc::send<bool>(value, "boolValue");
        benchmark::DoNotOptimize(on);
    }
}
BENCHMARK(ReadSettingsKeyFromFile)->ArgName("binary")->Arg(0)->Arg(1);

} // namespace
