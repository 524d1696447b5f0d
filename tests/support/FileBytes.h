#pragma once

// A file's bytes on this machine, read and written whole by the tests around what they
// check, never through the platform they test.

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>

// The bytes of `file`; empty when there is none.
inline std::string contentsOf(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Puts `bytes` at `file`, making its folders.
inline void putFile(const std::filesystem::path& file, std::string_view bytes) {
    std::filesystem::create_directories(file.parent_path());
    std::ofstream(file, std::ios::binary | std::ios::trunc)
        .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}
