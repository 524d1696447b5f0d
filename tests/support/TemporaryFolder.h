#pragma once

#include "FileBytes.h"

#include "device/MadeFolder.h"

#include <filesystem>
#include <stdexcept>
#include <string>

// A fresh folder for one test, removed with it, by the one helper that removes only
// what it made.
class TemporaryFolder {
public:
    explicit TemporaryFolder(const char* prefix = "lexorna-test")
        : folder_(made(prefix)), path_(folder_.path()) {}

    const std::filesystem::path& path() const { return path_; }

    std::filesystem::path write(const std::string& name, const std::string& bytes) const {
        putFile(path_ / name, bytes);
        return path_ / name;
    }
    std::string read(const std::string& name) const { return contentsOf(path_ / name); }

private:
    static device::MadeFolder made(const char* prefix) {
        auto folder = device::MadeFolder::makeTemporary(prefix);
        if (!folder)
            throw std::runtime_error(folder.error());
        return std::move(*folder);
    }

    device::MadeFolder folder_;
    std::filesystem::path path_;
};
