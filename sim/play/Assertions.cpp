#include "sim/play/Assertions.h"
#include "sim/play/PresentedControllers.h"
#include "sim/play/Selectors.h"

#include "uikit/UIPasteboard.h"
#include "uikit/UIWindow.h"

namespace sim {

namespace {

std::string quoted(const std::string& text) {
    return jsonText(Json(text));
}

StepResult assertVisible(const Step& step, UIWindow* window, bool expected) {
    std::string name(step.name());
    const auto& selector = std::get<ViewSelector>(step.argument);
    auto view = findShownView(window, selector);
    if (expected)
        return view ? StepResult::passed(name) : StepResult::failed(name, view.error());
    if (!view)
        return StepResult::passed(name);
    return StepResult::failed(name, selector.description() + " is visible: " + viewDescription(*view));
}

StepResult assertPasteboard(const Step& step) {
    std::string name(step.name());
    NSString* string = UIPasteboard::generalPasteboard()->string();
    // An empty pasteboard reads as no text, so `""` says that nothing was copied.
    if ((string ? string->utf8() : std::string()) == step.text())
        return StepResult::passed(name);
    return StepResult::failed(name, "the pasteboard holds " +
                                        (string ? quoted(string->utf8()) : "no string") + ", expected " +
                                        quoted(step.text()));
}

StepResult assertPresented(const Step& step, UIWindow* window, bool expected) {
    std::string name(step.name());
    const std::string& className = step.text();
    Class cls = objc_getClass(className.c_str());
    std::string chain;
    bool found = false;
    for (UIViewController* controller : presentedControllers(window)) {
        chain += (chain.empty() ? "" : " > ") + std::string(object_getClassName(controller));
        found = found || (cls && objc::isKindOfClass(controller, cls));
    }
    if (found == expected)
        return StepResult::passed(name);
    std::string presented = chain.empty() ? "nothing is presented" : "presented: " + chain;
    return StepResult::failed(name,
                              (expected ? "no " : "a ") + className + " is presented (" + presented + ")");
}

} // namespace

StepResult playAssertion(const Step& step, UIWindow* window) {
    switch (step.kind) {
    case StepKind::AssertVisible:
    case StepKind::AssertNotVisible:
        return assertVisible(step, window, step.kind == StepKind::AssertVisible);
    case StepKind::AssertPasteboard:
        return assertPasteboard(step);
    default:
        return assertPresented(step, window, step.kind == StepKind::AssertPresented);
    }
}

} // namespace sim
