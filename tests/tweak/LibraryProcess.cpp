#include "LibraryProcess.h"

#include "device/Device.h"
#include "objc/Message.h"
#include "uikit/UIWindow.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <dlfcn.h>
#include <filesystem>
#include <sys/wait.h>
#include <unistd.h>

void withLibrary(const std::function<void(void*)>& body) {
    std::fflush(stdout);
    std::fflush(stderr);
    pid_t child = ::fork();
    ASSERT_NE(child, -1);
    if (child == 0) {
        int code = 0;
        std::string root = (std::filesystem::temp_directory_path() / "lexorna-library-XXXXXX").string();
        try {
            objc::AutoreleasePool pool;
            if (!::mkdtemp(root.data()))
                throw std::runtime_error("no temporary device");
            device::Device::setRoot(root);
            void* library = ::dlopen(LEXORNA_DYLIB, RTLD_NOW | RTLD_LOCAL);
            if (!library)
                throw std::runtime_error(::dlerror());
            body(library);
            code = ::testing::Test::HasFailure() ? 1 : 0;
        } catch (const std::exception& e) {
            std::fprintf(stderr, "uncaught exception: %s\n", e.what());
            code = 2;
        }
        std::error_code ignored;
        std::filesystem::remove_all(root, ignored);
        std::fflush(stdout);
        std::fflush(stderr);
        ::_exit(code);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status)) << "the child ended by signal " << WTERMSIG(status);
    EXPECT_EQ(WEXITSTATUS(status), 0) << "the child failed (see above)";
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
