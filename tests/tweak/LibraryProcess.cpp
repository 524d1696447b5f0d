#include "LibraryProcess.h"

#include "ChildProcess.h"
#include "uikit/UIWindow.h"

#include <dlfcn.h>

void withLibrary(const std::function<void(void*)>& body) {
    test_support::inChildProcess([&] {
        void* library = ::dlopen(LEXORNA_DYLIB, RTLD_NOW | RTLD_LOCAL);
        if (!library)
            throw std::runtime_error(::dlerror());
        body(library);
    });
}

id plainController() {
    return objc::make<UIViewController>(UIViewController::staticClass());
}

id makeKeyWindowWithRoot(id rootController) {
    UIWindow* window = UIWindow::make(CGRectMake(0, 0, 390, 390));
    window->setRootViewController(objc::cast<UIViewController>(rootController));
    window->makeKeyAndVisible();
    return window;
}
