#pragma once

#include "sim/flow/Flow.h"
#include "sim/play/Installation.h"
#include "sim/play/LaunchSession.h"
#include "sim/report/Progress.h"
#include "sim/report/Report.h"

#include <functional>
#include <memory>

namespace sim {

class MessageChannel;

// Makes the session that plays a launch; called in the launch's own process.
using SessionFactory = std::function<std::unique_ptr<LaunchSession>()>;

// Plays flows on the device under device::Device's root. Before a flow the device is
// prepared as its header says. Steps before the first launch play in this process; each
// launch segment plays in a forked process of its own, whose session comes from the
// factory. A launch that crashes (the app raised, or the process died) is reported with
// its crash, and the rest of its segment as not run; later launches still play.
class FlowRunner {
public:
    // `keptDevice`: the user's own device, whose settings a flow without any leaves alone.
    FlowRunner(SessionFactory makeSession, Installation installation, Progress& progress,
               bool keptDevice = false)
        : makeSession_(std::move(makeSession)), installation_(std::move(installation)), progress_(progress),
          keptDevice_(keptDevice) {}

    FlowReport run(const Flow& flow);

private:
    LaunchReport playLaunch(const Flow& flow, const Segment& segment);
    int playInChild(const Flow& flow, const Segment& segment, MessageChannel& channel);

    SessionFactory makeSession_;
    Installation installation_;
    Progress& progress_;
    bool keptDevice_ = false;
};

} // namespace sim
