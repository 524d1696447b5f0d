#pragma once

#include "sim/play/LaunchSession.h"
#include "sim/play/TextSteps.h"

#include <string>
#include <vector>

class UIWindow;

namespace sim {

// A launch of one of the simulated apps, with whatever the loader injects into it. After
// the system's part of the launch the app's classes are registered, the loader maps the
// injected libraries (their constructors run), and the app starts. Every step then
// ends as a turn of the run loop ends: the autorelease pool drains and a layout pass
// runs over the key window.
class AppSession : public LaunchSession {
public:
    using LaunchSession::LaunchSession;

    support::Expected<void, std::string> launch(const Flow& flow) override;
    StepResult run(const Step& step) override;
    Json snapshot(const std::string& label) override;
    Json finish() override;
    std::optional<std::string> screenshotAtFailure(const Step& step) override;

private:
    StepResult play(const Step& step);
    // `NAME.png` in the output folder: the key window and what is presented over it.
    StepResult takeScreenshot(const Step& step, UIWindow* window);
    void endRunLoopTurn();
    UIWindow* keyWindow() const;

    std::vector<std::string> loaded_; // device paths of the libraries the loader mapped
    TextSteps text_;
};

} // namespace sim
