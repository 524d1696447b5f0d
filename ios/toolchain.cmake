# Cross-compiles for arm64 iOS with Debian's clang and lld, against the stubs in
# iPhoneOS-stub.sdk (symbol lists of our own; no Apple SDK is used or needed).
#   cmake -S . -B build-ios -DCMAKE_TOOLCHAIN_FILE=ios/toolchain.cmake
set(CMAKE_SYSTEM_NAME iOS)
set(CMAKE_SYSTEM_PROCESSOR arm64)
set(CMAKE_OSX_ARCHITECTURES arm64)
# iOS 9 is the library's floor: the layout anchors it builds its views with came with it.
set(CMAKE_OSX_DEPLOYMENT_TARGET 9.0)
# CMake takes a sysroot for iOS only when its path names iPhoneOS.
set(CMAKE_OSX_SYSROOT ${CMAKE_CURRENT_LIST_DIR}/iPhoneOS-stub.sdk)

find_program(LEXORNA_CLANGXX NAMES clang++ REQUIRED)
set(CMAKE_C_COMPILER clang)
set(CMAKE_CXX_COMPILER ${LEXORNA_CLANGXX})
set(CMAKE_OBJCXX_COMPILER ${LEXORNA_CLANGXX})
foreach(language C CXX OBJCXX)
  set(CMAKE_${language}_COMPILER_TARGET arm64-apple-ios${CMAKE_OSX_DEPLOYMENT_TARGET})
endforeach()

# Debian keeps ld64.lld and the Mach-O tools in LLVM's own folder, beside the real clang,
# not on PATH; clang's driver finds the linker there.
get_filename_component(LEXORNA_LLVM_BIN ${LEXORNA_CLANGXX} REALPATH)
get_filename_component(LEXORNA_LLVM_BIN ${LEXORNA_LLVM_BIN} DIRECTORY)
set(CMAKE_INSTALL_NAME_TOOL ${LEXORNA_LLVM_BIN}/llvm-install-name-tool)
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-fuse-ld=lld")
# Nothing here can link an executable for iOS (there is no crt1.o), so CMake's compiler
# checks build a static library instead.
set(CMAKE_TRY_COMPILE_TARGET_TYPE STATIC_LIBRARY)

set(CMAKE_FIND_ROOT_PATH ${CMAKE_OSX_SYSROOT})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
