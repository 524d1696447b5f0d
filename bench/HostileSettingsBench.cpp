// What a hostile settings file costs a host, beside the settings pane's own file. Every
// layout pass of every hooked view reads the file anew, so whatever a read costs above
// the pane's file, ten message views on screen pay ten times in each frame.
//
// Each shape is a valid property list as large as the bounds of a read let it be (its
// bytes, its objects, its depth), so that the reader builds all of it; one shape is a
// byte over the bound. Each iteration reads the pane's file and the shape's file once
// each, in turn, as -initWithContentsOfFile: reads them; `over_pane_us` is the
// difference per read.
//
// On a 2-core VM shared with other work, with the pane's file at about 8 us: at bounds of
// 256 KiB and 4096 objects the worst shapes cost 0.55 to 0.75 ms above it (base64 data,
// character references, UTF-16 text); at 16 KiB and 1024 objects none costs more than
// about 55 us above it, the most a key or a value of many (about 100 ns each) or UTF-16
// text.

#include "device/Device.h"
#include "device/Files.h"
#include "device/MadeFolder.h"
#include "foundation/NSData.h"
#include "foundation/NSDictionary.h"
#include "foundation/NSNumber.h"
#include "foundation/NSString.h"
#include "foundation/PropertyList.h"

#include <benchmark/benchmark.h>

#include <ctime>
#include <filesystem>
#include <functional>
#include <iostream>
#include <string>
#include <vector>

namespace {

using objc::send;

constexpr const char* PanePath = "/var/mobile/Library/Preferences/pane.plist";
constexpr const char* HostilePath = "/var/mobile/Library/Preferences/hostile.plist";

// The eleven keys the settings pane writes, WhatsApp on.
std::string paneFile() {
    objc::AutoreleasePool pool;
    NSMutableDictionary* values = NSMutableDictionary::make();
    for (const char* key : {"Aw", "WhatsApp", "Youtube", "Twitter", "Instagram", "Messages", "WACustomView",
                            "YTCustomView", "TWCustomView", "INCustomView", "MECustomView"})
        values->setObjectForKey(NSNumber::numberWithBool(true), NSString::make(key));
    return serializePropertyList(values, PropertyListFormat::Xml);
}

std::size_t bound() {
    return PropertyListLimits{}.maxBytes;
}

// The largest list `make(n)` that still reads (within the bytes and the objects a read
// may take), n found by halving.
std::string largestReadable(const std::function<std::string(std::size_t)>& make) {
    auto reads = [&](std::size_t n) {
        objc::AutoreleasePool pool;
        return propertyListFromBytes(make(n)) != nullptr;
    };
    std::size_t low = 1, high = bound();
    while (low < high) {
        std::size_t middle = (low + high + 1) / 2;
        if (reads(middle))
            low = middle;
        else
            high = middle - 1;
    }
    objc::AutoreleasePool pool;
    return make(low);
}

// An XML list whose one value is `open`, `unit` as often as a read allows, `close`.
std::string xmlFilled(std::string_view open, std::string_view unit, std::string_view close) {
    return largestReadable([=](std::size_t n) {
        std::string bytes = "<plist><dict><key>Aw</key>" + std::string(open);
        for (std::size_t i = 0; i < n; ++i)
            bytes += unit;
        return bytes + std::string(close) + "</dict></plist>";
    });
}

std::string binaryWith(id value) {
    NSMutableDictionary* values = NSMutableDictionary::make();
    values->setObjectForKey(value, NSString::make("Aw"));
    return serializePropertyList(values, PropertyListFormat::Binary);
}

struct Shape {
    const char* name;
    std::function<std::string()> bytes;
    bool readable = true; // within the bound, so the whole file is read and built
};

const Shape Shapes[] = {
    {"xml_base64_data", [] { return xmlFilled("<data>", "QUJD", "</data>"); }},
    {"xml_character_references", [] { return xmlFilled("<string>", "&#x1F600;", "</string>"); }},
    {"xml_named_entities", [] { return xmlFilled("<string>", "&amp;", "</string>"); }},
    {"xml_ascii_string", [] { return xmlFilled("<string>", "x", "</string>"); }},
    {"xml_utf8_string", [] { return xmlFilled("<string>", "\xF0\x9F\x98\x80", "</string>"); }},
    {"xml_cdata", [] { return xmlFilled("<string>", "<![CDATA[x]]>", "</string>"); }},
    {"xml_integer_zeros", [] { return xmlFilled("<integer>", "0", "1</integer>"); }},
    {"xml_many_keys",
     [] {
         return largestReadable([](std::size_t n) {
             std::string body;
             for (std::size_t i = 0; i < n; ++i)
                 body += "<key>" + std::to_string(i) + "</key><true/>";
             return "<plist><dict>" + body + "</dict></plist>";
         });
     }},
    {"xml_many_strings", [] { return xmlFilled("<array>", "<string>x</string>", "</array>"); }},
    {"xml_deep_nesting",
     [] {
         std::string open, close;
         for (std::size_t depth = 1; depth < PropertyListLimits{}.maxDepth; ++depth)
             open += "<array>", close += "</array>";
         return "<plist><dict><key>Aw</key>" + open + close + "</dict></plist>";
     }},
    {"binary_data",
     [] {
         return largestReadable([](std::size_t n) { return binaryWith(NSData::make(std::string(n, 'x'))); });
     }},
    {"binary_utf16_string",
     [] {
         return largestReadable([](std::size_t n) {
             std::string text;
             for (std::size_t i = 0; i < n; ++i)
                 text += "\xC3\xA9";
             return binaryWith(NSString::make(text));
         });
     }},
    {"binary_many_keys",
     [] {
         return largestReadable([](std::size_t n) {
             std::vector<NSDictionary::Entry> entries;
             for (std::size_t i = 0; i < n; ++i)
                 entries.emplace_back(NSString::make(std::to_string(i)), NSNumber::numberWithBool(true));
             return serializePropertyList(NSDictionary::make(std::move(entries)), PropertyListFormat::Binary);
         });
     }},
    {"over_the_bound",
     [] {
         std::string bytes = xmlFilled("<data>", "QUJD", "</data>");
         return bytes + std::string(bound() + 1 - bytes.size(), '\n');
     },
     false},
};

// A temporary device of its own, the process's device while the benchmark runs.
class BenchDevice {
public:
    BenchDevice() : folder_(made()), previous_(device::Device::root()) {
        device::Device::setRoot(folder_.path());
        if (!device::makeFolders("/var/mobile/Library/Preferences"))
            fail("cannot make the preferences folder");
    }
    ~BenchDevice() { device::Device::setRoot(previous_); }

    static void put(std::string_view devicePath, std::string_view bytes) {
        if (!device::writeFileAtomically(devicePath, bytes))
            fail("cannot write " + std::string(devicePath));
    }
    [[noreturn]] static void fail(const std::string& why) {
        std::cerr << why << "\n";
        std::abort();
    }

private:
    static device::MadeFolder made() {
        auto folder = device::MadeFolder::makeTemporary("lexorna-bench");
        if (!folder)
            fail(folder.error());
        return std::move(*folder);
    }

    device::MadeFolder folder_;
    std::filesystem::path previous_;
};

// One settings read as -initWithContentsOfFile: makes it, and the key looked up in what
// it answers; whether the file read.
bool readSettings(const char* devicePath) {
    objc::AutoreleasePool pool;
    NSMutableDictionary* settings = NSMutableDictionary::dictionaryWithContentsOfFile(devicePath);
    benchmark::DoNotOptimize(send<id>(settings, "objectForKey:", NSString::literal("Aw")));
    return settings != nullptr;
}

// The thread's own time, the kernel's part included: on a machine shared with other
// work the wall clock would also count the waits for a core.
double threadMicroseconds() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) * 1e6 + static_cast<double>(now.tv_nsec) / 1e3;
}

void HostileSettingsRead(benchmark::State& state, const Shape& shape) {
    BenchDevice device;
    std::string bytes = shape.bytes();
    BenchDevice::put(PanePath, paneFile());
    BenchDevice::put(HostilePath, bytes);
    if (!readSettings(PanePath) || readSettings(HostilePath) != shape.readable)
        BenchDevice::fail(std::string(shape.name) + " does not read as it should");
    double pane = 0, hostile = 0;
    for (auto _ : state) {
        double start = threadMicroseconds();
        benchmark::DoNotOptimize(readSettings(PanePath));
        double between = threadMicroseconds();
        benchmark::DoNotOptimize(readSettings(HostilePath));
        double end = threadMicroseconds();
        pane += between - start;
        hostile += end - between;
    }
    std::int64_t runs = state.iterations();
    state.counters["bytes"] = static_cast<double>(bytes.size());
    auto perRead = [&](double total) { return total / static_cast<double>(runs); };
    state.counters["pane_us"] = perRead(pane);
    state.counters["hostile_us"] = perRead(hostile);
    state.counters["over_pane_us"] = perRead(hostile - pane);
}

[[maybe_unused]] const bool registered = [] {
    for (const Shape& shape : Shapes)
        benchmark::RegisterBenchmark((std::string("HostileSettingsRead/") + shape.name).c_str(),
                                     [&shape](benchmark::State& state) { HostileSettingsRead(state, shape); })
            ->Unit(benchmark::kMicrosecond);
    return true;
}();

} // namespace
