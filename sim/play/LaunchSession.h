#pragma once

#include "sim/flow/Flow.h"
#include "sim/report/Report.h"

#include "support/Expected.h"

#include <filesystem>
#include <string>

namespace sim {

// What every launch of a run shares.
struct SessionContext {
    std::filesystem::path deviceRoot;   // the device's disk
    std::filesystem::path outputFolder; // where screenshots go
    double scale = 2;                   // screenshot pixels per point, as a 2x device draws
    bool updateScreenshots = false;     // assertScreenshot writes its saved picture anew
};

// One launch of an app, inside the process the simulator forked for it: the app's side
// of a launch segment. The simulator calls launch() once, then run() for each further
// step of the segment, then finish(). An exception the app raises (objc::Exception)
// passes out of launch() and run(): it ends the launch as a crash.
//
// This class does what needs neither UIKit nor the apps: the system's part of a launch
// and the steps that need only the disk. A subclass that starts the app overrides
// launch() (the system's part first, then the loader and the app), run() (the UI
// steps, handing the rest to this class), snapshot() (the window and what is presented)
// and finish() (the libraries the loader mapped).
class LaunchSession {
public:
    explicit LaunchSession(SessionContext context) : context_(std::move(context)) {}
    virtual ~LaunchSession() = default;
    LaunchSession(const LaunchSession&) = delete;
    LaunchSession& operator=(const LaunchSession&) = delete;

    // What the system sets before any of the app's code runs: the device, the main
    // bundle's identifier, the home directory (the app's container, made at its first
    // launch with Library, Documents and tmp, and kept), the running system's version.
    // An error when the simulator cannot set the launch up.
    virtual support::Expected<void, std::string> launch(const Flow& flow);

    // Plays one step after the launch. Steps this session cannot play fail.
    virtual StepResult run(const Step& step);

    // A picture of the screen when a step failed, in the output folder: its file name, or
    // nothing when there is nothing to draw.
    virtual std::optional<std::string> screenshotAtFailure(const Step& step);

    // What the user would see now: the label, the window, what is presented, the
    // pasteboard, and the files in the app's home directory.
    virtual Json snapshot(const std::string& label);

    // The launch as the report shows it, steps aside: bundleId, home, loaded, runtime,
    // fileOpens and log (from the process's instruments), crash (null), snapshots.
    virtual Json finish();

protected:
    const SessionContext& context() const { return context_; }
    const Flow& flow() const { return *flow_; }
    const std::string& home() const { return home_; }

private:
    SessionContext context_;
    const Flow* flow_ = nullptr;
    std::string home_;
    Json snapshots_ = Json::array();
};

} // namespace sim
