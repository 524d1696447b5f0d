#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace device {

// What an observer of the process could see on a device (as Instruments would):
// runtime calls that change classes, file opens per device path, and everything the
// process logged. The simulator reads it into its report.
struct RuntimeCall {
    std::string call;                     // "MSHookMessageEx" or "class_addMethod"
    std::optional<std::string> className; // nothing for a nil class
    std::string selector;
    std::optional<std::string> types; // class_addMethod's type encoding
    std::string result;               // "replaced", "no-class", "no-method", "true", "false"
};

class Instruments {
public:
    static Instruments& shared();

    // Runtime calls are recorded only on classes that existed at this mark (the host's
    // own classes, registered before the loader maps libraries), and on nil classes.
    void markHostClassesRegistered(std::uint64_t classGeneration) { hostGeneration_ = classGeneration; }
    bool recordsCallsOn(std::uint64_t classGeneration) const {
        return hostGeneration_ && classGeneration <= *hostGeneration_;
    }
    bool armed() const { return hostGeneration_.has_value(); }

    void recordRuntimeCall(RuntimeCall call) { runtimeCalls_.push_back(std::move(call)); }
    void recordFileOpen(std::string_view devicePath) {
        // Every settings read is counted: a path seen before costs no new string.
        if (auto it = fileOpens_.find(devicePath); it != fileOpens_.end())
            ++it->second;
        else
            fileOpens_.emplace(devicePath, 1);
    }
    void log(std::string line) { log_.push_back(std::move(line)); }

    const std::vector<RuntimeCall>& runtimeCalls() const { return runtimeCalls_; }
    const std::map<std::string, int, std::less<>>& fileOpens() const { return fileOpens_; }
    const std::vector<std::string>& logLines() const { return log_; }

private:
    std::optional<std::uint64_t> hostGeneration_;
    std::vector<RuntimeCall> runtimeCalls_;
    std::map<std::string, int, std::less<>> fileOpens_;
    std::vector<std::string> log_;
};

} // namespace device
