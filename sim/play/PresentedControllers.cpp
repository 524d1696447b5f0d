#include "sim/play/PresentedControllers.h"

#include "uikit/UIWindow.h"

namespace sim {

std::vector<UIViewController*> presentedControllers(UIWindow* window) {
    std::vector<UIViewController*> chain;
    UIViewController* presenter = window ? window->rootViewController() : nullptr;
    while (presenter) {
        presenter = presenter->presentedViewController();
        if (presenter)
            chain.push_back(presenter);
    }
    return chain;
}

} // namespace sim
