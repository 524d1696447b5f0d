#include "LibraryProcess.h"

#include "ChildProcess.h"

#include <dlfcn.h>

void withLibrary(const std::function<void(void*)>& body) {
    test_support::inChildProcess([&] {
        void* library = ::dlopen(LEXORNA_DYLIB, RTLD_NOW | RTLD_LOCAL);
        if (!library)
            throw std::runtime_error(::dlerror());
        body(library);
    });
}
