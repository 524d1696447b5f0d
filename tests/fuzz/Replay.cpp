// Plays a fuzz target's corpus without libFuzzer: each file named, or each file of each
// folder named, in name order, goes once through the target. A crash or a sanitizer
// report fails the run; at the end the slowest input and its time are printed, so that a
// campaign's findings can be read back in the normal build.

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);
extern "C" [[gnu::weak]] int LLVMFuzzerInitialize(int* argc, char*** argv);

namespace {

std::vector<std::filesystem::path> inputsOf(int argc, char** argv) {
    std::vector<std::filesystem::path> inputs;
    for (int i = 1; i < argc; ++i) {
        std::filesystem::path named = argv[i];
        if (!std::filesystem::is_directory(named)) {
            inputs.push_back(named);
            continue;
        }
        std::vector<std::filesystem::path> files;
        for (const auto& entry : std::filesystem::directory_iterator(named))
            if (entry.is_regular_file())
                files.push_back(entry.path());
        std::sort(files.begin(), files.end());
        inputs.insert(inputs.end(), files.begin(), files.end());
    }
    return inputs;
}

} // namespace

int main(int argc, char** argv) {
    if (LLVMFuzzerInitialize)
        LLVMFuzzerInitialize(&argc, &argv);
    std::vector<std::filesystem::path> inputs = inputsOf(argc, argv);
    if (inputs.empty()) {
        std::fprintf(stderr, "usage: %s CORPUS-FOLDER-OR-FILE...\n", argv[0]);
        return 2;
    }
    std::chrono::nanoseconds slowest{0};
    std::filesystem::path slowestInput;
    // The first input is played once more before the others, untimed, so that the
    // process's one-time set-up (its device, the classes) counts against no input.
    bool warmedUp = false;
    for (std::size_t i = 0; i < inputs.size(); i += warmedUp ? 1 : 0) {
        const auto& input = inputs[i];
        std::ifstream file(input, std::ios::binary);
        std::string bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
        if (!file.good() && !file.eof()) {
            std::fprintf(stderr, "cannot read %s\n", input.c_str());
            return 2;
        }
        if (!warmedUp) {
            LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
            warmedUp = true;
            continue;
        }
        auto start = std::chrono::steady_clock::now();
        LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
        auto took = std::chrono::steady_clock::now() - start;
        if (took > slowest) {
            slowest = std::chrono::duration_cast<std::chrono::nanoseconds>(took);
            slowestInput = input;
        }
    }
    std::printf("%zu inputs played; slowest %s in %.3f ms\n", inputs.size(), slowestInput.filename().c_str(),
                static_cast<double>(slowest.count()) / 1e6);
    return 0;
}
