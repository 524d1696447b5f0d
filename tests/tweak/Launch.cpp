#include "Launch.h"

#include "AppProcess.h"
#include "FileBytes.h"
#include "device/Device.h"
#include "foundation/NSBundle.h"
#include "objc/Exception.h"
#include "substrate/RuntimeRecording.h"
#include "uikit/UIViewController.h"

#include <dlfcn.h>

namespace launch {

std::string xmlPlist(std::string_view body) {
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\">" + std::string(body) +
           "</plist>\n";
}

std::string settingsWithTrue(std::initializer_list<const char*> keys) {
    std::string body;
    for (const char* key : keys)
        body += "<key>" + std::string(key) + "</key><true/>";
    return xmlPlist("<dict>" + body + "</dict>");
}

std::string filterListing(std::initializer_list<const char*> bundles) {
    std::string items;
    for (const char* bundle : bundles)
        items += "<string>" + std::string(bundle) + "</string>";
    return xmlPlist("<dict><key>Filter</key><dict><key>Bundles</key><array>" + items +
                    "</array></dict></dict>");
}

namespace {

void writeDevice(const Setup& setup) {
    if (setup.settings)
        putFile(device::Device::resolve(SettingsPath), *setup.settings);
    if (setup.filter)
        putFile(device::Device::resolve(FilterPath), *setup.filter);
}

// Maps the library in with the runtime's calls recorded from here on, as the platform's
// loader does once the host's classes exist; the loader itself is played by the
// simulator's launches.
void mapLibrary(Observed& out) {
    device::Instruments::shared().markHostClassesRegistered(objc::classGeneration());
    substrate::installRuntimeRecording();
    void* library = dlopen(LEXORNA_DYLIB, RTLD_NOW | RTLD_LOCAL);
    if (!library)
        throw std::runtime_error(dlerror());
    out.exportsBundleCheck = dlsym(library, "Check_If_Bundle_Exists") != nullptr;
}

Observed launchInChild(const Setup& setup) {
    Observed out;
    try {
        auto prepared = [&] {
            // The setup's identifier, not the app's, is what the library and loader see.
            NSBundle::setMainBundleIdentifier(setup.bundleIdentifier);
            if (setup.prepareHost)
                setup.prepareHost();
            mapLibrary(out);
        };
        if (setup.app) {
            launchApp(setup.app, nlohmann::json::parse(setup.content), prepared);
        } else {
            prepared();
        }
    } catch (const objc::Exception& e) {
        out.crash = e.name() + ": " + e.reason();
    } catch (const std::exception& e) {
        out.crash = e.what();
    }
    out.calls = device::Instruments::shared().runtimeCalls();
    out.fileOpens = device::Instruments::shared().fileOpens();
    out.log = device::Instruments::shared().logLines();
    return out;
}

} // namespace

void inLaunch(const Setup& setup, const std::function<void(const Observed&)>& check) {
    test_support::inChildProcess([&] {
        writeDevice(setup);
        check(launchInChild(setup));
    });
}

} // namespace launch
