// What the trigger hook costs a host. Every layout pass of a hooked WhatsApp message view
// runs the host's own layoutSubviews, then reads the settings file anew (no cache, so a
// change applies without a restart) and attaches one more double-tap recogniser.
//
// Where the time goes, per layout pass, in order (a 2-core Xeon VM, the settings pane's
// eleven-key file of 620 bytes in XML or 300 in binary; the floor, open + fstat + read
// + close of that file, is about 1.1 us):
//
//   1. Messages of the read: +alloc (a shared placeholder), -initWithContentsOfFile:,
//      then -objectForKey:, -respondsToSelector: and -boolValue on what it answers.
//      With the runtime's method and selector caches, about 0.1 us in all.
//   2. The device path resolved into a reused buffer and the open counted: 0.04 us.
//   3. open, one read of at most 16 KiB and close: a file that answers short has ended,
//      so no fstat is needed. About 0.8 of the floor, the largest part.
//   4. The parse into Foundation objects (ParseSettingsBytes): 0.7 us for XML, 0.6 us
//      for binary. Of that, about 0.25 us makes and later frees the thirteen objects
//      (eleven key strings, the booleans are two shared numbers, the dictionary and
//      its entries); the rest is reading the bytes.
//   5. The pool that the read opens drains: the dictionary and its keys go.
//   6. The recogniser: +[VDManager Init...] makes it and adds it to the view, about
//      0.15 us and 152 bytes kept (RecognizerPileUp).
//
// The read allocates 15 (XML) or 16 (binary) times; the two overheads come to about
// 1.95 and 1.85 times the floor.

#include "AllocationCounter.h"

#include "apps/AppLaunch.h"
#include "apps/HostApps.h"
#include "apps/ViewLookup.h"
#include "device/Device.h"
#include "foundation/NSBundle.h"
#include "foundation/NSDictionary.h"
#include "foundation/NSString.h"
#include "foundation/PropertyList.h"
#include "sim/play/DeviceFolder.h"
#include "sim/play/DevicePaths.h"
#include "sim/play/DevicePreparation.h"
#include "substrate/Loader.h"
#include "uikit/TouchDelivery.h"
#include "uikit/UIWindow.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <fcntl.h>
#include <fstream>
#include <iostream>
#include <sys/stat.h>
#include <unistd.h>

namespace {

using objc::send;

constexpr const char* MessageViewClass = "WAMessageContainerView";

// The settings pane writes every key; WhatsApp on, the inline overlay chosen.
constexpr const char* SettingsXml = R"(<?xml version="1.0" encoding="UTF-8"?>
<!DOCTYPE plist PUBLIC "-//Apple//DTD PLIST 1.0//EN" "http://www.apple.com/DTDs/PropertyList-1.0.dtd">
<plist version="1.0">
<dict>
	<key>Aw</key>
	<true/>
	<key>WhatsApp</key>
	<true/>
	<key>Youtube</key>
	<true/>
	<key>Twitter</key>
	<false/>
	<key>Instagram</key>
	<true/>
	<key>Messages</key>
	<false/>
	<key>WACustomView</key>
	<false/>
	<key>YTCustomView</key>
	<true/>
	<key>TWCustomView</key>
	<false/>
	<key>INCustomView</key>
	<true/>
	<key>MECustomView</key>
	<false/>
</dict>
</plist>
)";

constexpr const char* FilterXml = R"(<?xml version="1.0" encoding="UTF-8"?>
<plist version="1.0">
<dict><key>Filter</key><dict><key>Bundles</key><array><string>net.whatsapp.WhatsApp</string></array></dict></dict>
</plist>
)";

std::string settingsBytes(PropertyListFormat format) {
    if (format == PropertyListFormat::Xml)
        return SettingsXml;
    objc::AutoreleasePool pool;
    return serializePropertyList(propertyListFromBytes(SettingsXml), PropertyListFormat::Binary);
}

std::string fileBytes(const char* hostPath) {
    std::ifstream in(hostPath, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// A device file written, or the run stopped: a benchmark without its device measures
// nothing.
void put(std::string_view devicePath, std::string bytes) {
    if (auto written = sim::replaceDeviceFile(devicePath, std::move(bytes)); !written) {
        std::cerr << written.error() << "\n";
        std::abort();
    }
}

// A fresh temporary device, the process's device from here on, removed with the run.
sim::DeviceFolder openDevice() {
    auto folder = sim::DeviceFolder::open(std::nullopt, false);
    if (!folder) {
        std::cerr << folder.error() << "\n";
        std::abort();
    }
    device::Device::setRoot(folder->path());
    return std::move(*folder);
}

// WhatsApp launched with Lexorna injected by the loader, once per process as on a
// device, showing one message.
class HookedWhatsApp {
public:
    static HookedWhatsApp& shared() {
        static HookedWhatsApp app;
        return app;
    }

    // The message view's layoutSubviews as the host has it, and as it is once hooked.
    IMP original = nullptr;
    IMP hooked = nullptr;
    UIView* message = nullptr; // kept by the window
    Class messageClass = nullptr;

    static void writeSettings(PropertyListFormat format) { put(sim::SettingsPath, settingsBytes(format)); }

private:
    HookedWhatsApp() : device_(openDevice()) {
        objc::AutoreleasePool pool;
        writeSettings(PropertyListFormat::Xml);
        put(sim::FilterListPath, FilterXml);
        put(sim::LibraryPath, fileBytes(LEXORNA_LIBRARY_FILE));

        const apps::AppDescription app = apps::whatsAppDescription();
        NSBundle::setMainBundleIdentifier(app.bundleIdentifier);
        app.registerClasses();
        SEL layout = sel_registerName("layoutSubviews");
        messageClass = objc_getClass(MessageViewClass);
        original = class_getMethodImplementation(messageClass, layout);
        auto load = substrate::loadInjectedLibraries();
        hooked = class_getMethodImplementation(messageClass, layout);
        if (load.loaded.empty() || hooked == original) {
            std::cerr << "Lexorna did not hook " << MessageViewClass << "\n";
            std::abort();
        }
        window_ = apps::startApp(app, {{"messages", {{{"text", "How are you?"}}}}});
        message = apps::findView(window_.get(), "message-1");
        if (!message)
            std::abort();
    }

    sim::DeviceFolder device_;
    objc::Ref<UIWindow> window_;
};

// One layout pass, in the pool that the run loop opens around it.
void layoutWith(IMP implementation, UIView* view) {
    objc::AutoreleasePool pool;
    reinterpret_cast<void (*)(id, SEL)>(implementation)(view, sel_registerName("layoutSubviews"));
}

void removeRecognizers(UIView* view) {
    while (!view->gestureRecognizers().empty())
        view->removeGestureRecognizer(view->gestureRecognizers().back().get());
}

// open, fstat, read and close of the whole file, nothing parsed: what any read of it
// costs at the least.
std::size_t readFloor(const char* hostPath) {
    char buffer[65536];
    int fd = ::open(hostPath, O_RDONLY | O_CLOEXEC);
    struct stat info {};
    ::fstat(fd, &info);
    ssize_t n = ::read(fd, buffer, sizeof buffer);
    ::close(fd);
    benchmark::DoNotOptimize(buffer);
    return n > 0 ? static_cast<std::size_t>(n) : 0;
}

// One settings read with the messages the library sends: load the file into a mutable
// dictionary, look the key up, take its boolean reading.
bool readSettingsKey() {
    objc::AutoreleasePool pool;
    id settings = objc_autorelease(send<id>(send<id>(NSMutableDictionary::staticClass(), "alloc"),
                                            "initWithContentsOfFile:", NSString::literal(sim::SettingsPath)));
    id value = send<id>(settings, "objectForKey:", NSString::literal("WACustomView"));
    return send<bool>(value, "respondsToSelector:", sel_registerName("boolValue")) &&
           send<bool>(value, "boolValue");
}

// What one settings read allocates, counted over reads of their own so that the timed
// reads run without the counting.
struct ReadAllocations {
    double allocations = 0;
    double bytes = 0;
};
ReadAllocations countReadAllocations() {
    constexpr int Reads = 100;
    AllocationCounter counter;
    for (int i = 0; i < Reads; ++i)
        benchmark::DoNotOptimize(readSettingsKey());
    return {static_cast<double>(counter.allocations()) / Reads,
            static_cast<double>(counter.allocatedBytes()) / Reads};
}

class Stopwatch {
public:
    template <typename Work> void time(Work&& work) {
        auto start = std::chrono::steady_clock::now();
        work();
        total_ += std::chrono::steady_clock::now() - start;
    }
    double nanosecondsPer(std::int64_t runs) const {
        return std::chrono::duration<double, std::nano>(total_).count() / static_cast<double>(runs);
    }

private:
    std::chrono::steady_clock::duration total_{};
};

// The four measures run interleaved, one each per iteration, so that a change of the
// machine's speed during the run touches them alike.
void TriggerHookOverhead(benchmark::State& state, PropertyListFormat format) {
    auto& app = HookedWhatsApp::shared();
    HookedWhatsApp::writeSettings(format);
    const std::string hostPath = device::Device::resolve(sim::SettingsPath).string();
    const ReadAllocations allocations = countReadAllocations();
    Stopwatch floor, read, hooked, unhooked;
    for (auto _ : state) {
        floor.time([&] { benchmark::DoNotOptimize(readFloor(hostPath.c_str())); });
        read.time([&] { benchmark::DoNotOptimize(readSettingsKey()); });
        hooked.time([&] { layoutWith(app.hooked, app.message); });
        unhooked.time([&] { layoutWith(app.original, app.message); });
        // The recognisers pile up by design; a thousand at a time keeps the view's list,
        // and the memory it takes, the same through the run.
        if (app.message->gestureRecognizers().size() >= 1000)
            removeRecognizers(app.message);
    }
    removeRecognizers(app.message);
    std::int64_t runs = state.iterations();
    double overhead = hooked.nanosecondsPer(runs) - unhooked.nanosecondsPer(runs);
    state.counters["floor_ns"] = floor.nanosecondsPer(runs);
    state.counters["read_ns"] = read.nanosecondsPer(runs);
    state.counters["hook_overhead_ns"] = overhead;
    state.counters["hook_to_floor"] = overhead / floor.nanosecondsPer(runs);
    state.counters["allocs_per_read"] = allocations.allocations;
    state.counters["bytes_per_read"] = allocations.bytes;
}
BENCHMARK_CAPTURE(TriggerHookOverhead, xml, PropertyListFormat::Xml);
BENCHMARK_CAPTURE(TriggerHookOverhead, binary, PropertyListFormat::Binary);

// The parse alone, from bytes in memory to Foundation objects: the part of a read that
// is neither the file nor the messages around it.
void ParseSettingsBytes(benchmark::State& state, PropertyListFormat format) {
    const std::string bytes = settingsBytes(format);
    for (auto _ : state) {
        objc::AutoreleasePool pool;
        benchmark::DoNotOptimize(propertyListFromBytes(bytes));
    }
}
BENCHMARK_CAPTURE(ParseSettingsBytes, xml, PropertyListFormat::Xml);
BENCHMARK_CAPTURE(ParseSettingsBytes, binary, PropertyListFormat::Binary);

// What each layout pass leaves behind: the bytes one attached recogniser keeps alive.
void RecognizerPileUp(benchmark::State& state) {
    auto& app = HookedWhatsApp::shared();
    HookedWhatsApp::writeSettings(PropertyListFormat::Binary);
    constexpr int Passes = 1000;
    std::int64_t kept = 0;
    for (auto _ : state) {
        {
            AllocationCounter counter;
            for (int i = 0; i < Passes; ++i)
                layoutWith(app.hooked, app.message);
            kept += counter.liveBytes();
        }
        state.PauseTiming();
        removeRecognizers(app.message);
        state.ResumeTiming();
    }
    state.counters["bytes_per_recognizer"] =
        static_cast<double>(kept) / static_cast<double>(state.iterations() * Passes);
}
BENCHMARK(RecognizerPileUp);

// A double tap on a message view that carries N recognisers from N layout passes: every
// one of them is a candidate of the touch.
void DoubleTapDelivery(benchmark::State& state) {
    auto& app = HookedWhatsApp::shared();
    HookedWhatsApp::writeSettings(PropertyListFormat::Binary);
    // A message view of no message: the actions find no text and show nothing, so each
    // tap costs the same.
    objc::Ref<UIView> view = [&] {
        objc::AutoreleasePool pool;
        return objc::Ref<UIView>(
            objc::cast<UIView>(objc_autorelease(send<id>(send<id>(app.messageClass, "alloc"), "init"))));
    }();
    for (std::int64_t i = 0; i < state.range(0); ++i)
        layoutWith(app.hooked, view.get());
    for (auto _ : state) {
        TouchRecord record;
        deliverGesture(view.get(), TouchGesture::tap(2), record);
        benchmark::DoNotOptimize(record);
    }
    state.counters["ns_per_candidate"] =
        benchmark::Counter(static_cast<double>(state.range(0)) * static_cast<double>(state.iterations()),
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(DoubleTapDelivery)->ArgName("recognizers")->Arg(1000)->Arg(10000)->Unit(benchmark::kMicrosecond);

} // namespace
