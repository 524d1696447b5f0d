#include "Launch.h"

#include "ChildProcess.h"
#include "device/Device.h"
#include "foundation/NSBundle.h"
#include "objc/Exception.h"
#include "substrate/Loader.h"
#include "substrate/RuntimeRecording.h"
#include "uikit/UIViewController.h"

#include <plist/plist.h>

#include <cstdlib>
#include <dlfcn.h>
#include <filesystem>
#include <fstream>

namespace launch {

namespace fs = std::filesystem;

const std::vector<HostClass>& allHostClasses() {
    static const std::vector<HostClass> classes = {
        {"WAMessageContainerView", "layoutSubviews", true},
        {"WAChatViewController", "viewDidLoad", false},
        {"YTFormattedStringLabel", "applyTypeStyle", true},
        {"YTEngagementPanelViewController", "didTapCloseButton", false},
        {"TFNSpacerView", "layoutSubviews", true},
        {"T1DirectMessageConversationEntriesViewController", "viewDidLoad", false},
        {"IGCoreTextView", "layoutSubviews", true},
        {"CKBalloonTextView", "layoutSubviews", true},
        {"CKTranscriptCollectionViewController", "viewDidLoad", false},
    };
    return classes;
}

std::vector<HostClass> hostClassesNamed(std::initializer_list<const char*> names) {
    std::vector<HostClass> chosen;
    for (const auto& host : allHostClasses())
        for (const char* name : names)
            if (std::string_view(host.name) == name)
                chosen.push_back(host);
    return chosen;
}

std::string xmlPlist(std::string_view body) {
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\">" + std::string(body) +
           "</plist>\n";
}

std::string binaryPlist(const std::string& xml) {
    plist_t root = nullptr;
    plist_from_xml(xml.data(), static_cast<uint32_t>(xml.size()), &root);
    char* data = nullptr;
    uint32_t length = 0;
    plist_to_bin(root, &data, &length);
    std::string bytes(data, length);
    std::free(data);
    plist_free(root);
    return bytes;
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

// In the child only: what the host's own methods did.
std::vector<std::string>& hostMethodsRan() {
    static std::vector<std::string> ran;
    return ran;
}

void hostMethod(id self, SEL cmd) {
    hostMethodsRan().push_back(std::string(object_getClass(self)->name) + " " + sel_getName(cmd));
}

void registerHostClasses(const std::vector<HostClass>& hosts) {
    // Host views are views and the other host classes controllers, as in the apps, since
    // the replacements treat them so once they run.
    Class view = objc_allocateClassPair(UIView::staticClass(), "LaunchHostView", 0);
    class_addMethod(view, sel_registerName("layoutSubviews"), objc::imp(hostMethod), "v@:");
    objc_registerClassPair(view);
    for (const auto& host : hosts) {
        Class cls = objc_allocateClassPair(host.view ? view : UIViewController::staticClass(), host.name, 0);
        // The host's own implementation, overriding what UIKit gives.
        class_addMethod(cls, sel_registerName(host.replaced), objc::imp(hostMethod), "v@:");
        objc_registerClassPair(cls);
    }
}

void writeDevice(const Setup& setup) {
    auto write = [](std::string_view devicePath, const std::string& bytes) {
        fs::path host = device::Device::resolve(devicePath);
        fs::create_directories(host.parent_path());
        std::ofstream(host, std::ios::binary) << bytes;
    };
    if (setup.settings)
        write(SettingsPath, *setup.settings);
    if (setup.filter)
        write(FilterPath, *setup.filter);
    if (setup.installedLibrary) {
        write(LibraryPath, *setup.installedLibrary);
    } else if (setup.throughLoader) {
        fs::path installed = device::Device::resolve(LibraryPath);
        fs::create_directories(installed.parent_path());
        fs::copy_file(LEXORNA_DYLIB, installed); // a copy, as a package installs it: links are not followed
    }
}

Observed launchInChild(const Setup& setup) {
    Observed out;
    try {
        NSBundle::setMainBundleIdentifier(setup.bundleIdentifier);
        registerHostClasses(setup.hostClasses);
        if (setup.prepareHost)
            setup.prepareHost();

        if (setup.throughLoader) {
            auto result = substrate::loadInjectedLibraries();
            out.loaded = result.loaded;
            for (const auto& failure : result.failures)
                out.loadFailures.push_back(failure.path);
        } else {
            device::Instruments::shared().markHostClassesRegistered(objc::classGeneration());
            substrate::installRuntimeRecording();
            void* library = dlopen(LEXORNA_DYLIB, RTLD_NOW | RTLD_LOCAL);
            if (!library)
                throw std::runtime_error(dlerror());
            out.exportsBundleCheck = dlsym(library, "Check_If_Bundle_Exists") != nullptr;
        }

        hostMethodsRan().clear();
        for (const auto& host : setup.hostClasses) {
            Class cls = objc_getClass(host.name);
            SEL sel = sel_registerName(host.replaced);
            if (class_getMethodImplementation(cls, sel) != objc::imp(hostMethod))
                out.replacedMethods.push_back(std::string(host.name) + " " + host.replaced);
            // As the host would run them: a view is laid out, a controller loads its view.
            if (!class_respondsToSelector(cls, sel))
                continue;
            id instance = objc::make(cls);
            if (host.view)
                objc::send(instance, sel);
            else
                objc::send<id>(instance, "view");
        }
    } catch (const objc::Exception& e) {
        out.crash = e.name() + ": " + e.reason();
    } catch (const std::exception& e) {
        out.crash = e.what();
    }
    out.hostMethodsRan = hostMethodsRan();
    out.calls = device::Instruments::shared().runtimeCalls();
    out.fileOpens = device::Instruments::shared().fileOpens();
    out.log = device::Instruments::shared().logLines();
    return out;
}

} // namespace

void inLaunch(const Setup& setup, const std::function<void(const Observed&)>& check) {
    test_support::expectPassesInChild([&] {
        test_support::TemporaryDevice device("lexorna-launch");
        writeDevice(setup);
        check(launchInChild(setup));
    });
}

} // namespace launch
