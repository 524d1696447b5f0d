// What a screenshot costs at scale 2, and what a flow step costs with the screenshots
// among the steps.
//
// Where the time went, a screen of 390 x 844 points (780 x 1688 pixels) on a shared 2-core
// VM, CPU time per screenshot:
//
//   1. Drawing the views: about 1.5 ms once the process has drawn before; in a fresh
//      process a few ms more, as each font's glyphs are drawn for the first time.
//   2. Encoding: cairo's PNG writer (zlib's default level, libpng's filters) 36 to 41 ms;
//      the simulator's own writer (zlib's fastest level, no filter, the same pixels) 6 to
//      11 ms, for files within a few percent of the size. libdeflate was no faster.
//   3. In a fresh process, as every launch is, the picture's new memory: a page fault
//      for each 4 KiB, some 14 ms for a screen before a pixel is drawn, and twice that
//      again behind a page sheet, which drew into two cairo groups of the screen's size.
//      In huge pages (makePicture, and pictures of its own for what lies below a sheet)
//      they take three faults, about 3 ms.
//   4. Writing: an fsync of each picture waited 2 to 15 ms for the disk.
//
// The demo's flows, played by the build before and by this one in turns on the same
// flows and under the same load (a load average of 5 to 7 on the 2 cores): screenshot
// steps 117 to 138 ms before and 38 to 53 ms after on median, steps 17.4 to 18.6 ms and
// 8.8 to 10.9 ms on mean; steps on median 0.03 ms both, as most steps are taps and asserts.
// Wall times on that machine are about twice the CPU times; cpu_ms below is the fresh
// process's own.

#include "sim/render/PngWriter.h"
#include "sim/render/Screenshot.h"

#include "device/MadeFolder.h"
#include "objc/Autorelease.h"
#include "uikit/UILabel.h"
#include "uikit/UITextView.h"
#include "uikit/UIWindow.h"

#include <benchmark/benchmark.h>
#include <nlohmann/json.hpp>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <iostream>
#include <sys/wait.h>
#include <unistd.h>

namespace {

constexpr double Scale = 2;

UIColor* grey(double white) {
    return UIColor::colorWithRed(white, white, white, 1);
}

// A chat as the hosts draw one: a title bar, twelve bubbles of wrapped text, rounded,
// and a text view over one of them with part of its text selected.
UIWindow* chatWindow() {
    static objc::Ref<UIWindow> window = [] {
        objc::AutoreleasePool pool;
        objc::Ref<UIWindow> made(UIWindow::make(CGRectMake(0, 0, 390, 844)));
        made->setBackgroundColor(grey(0.95));
        UILabel* title = UILabel::make(CGRectMake(0, 44, 390, 44));
        title->setText(NSString::make("Alex"));
        title->setTextAlignment(NSTextAlignmentCenter);
        made->addSubview(title);
        for (int i = 0; i < 12; ++i) {
            const bool outgoing = i % 2 == 1;
            UIView* bubble = UIView::make(CGRectMake(outgoing ? 120 : 10, 100 + 60 * i, 260, 52));
            bubble->setBackgroundColor(outgoing ? UIColor::colorWithRed(0.86, 0.97, 0.78, 1) : grey(1));
            bubble->layer()->setCornerRadius(8);
            UILabel* text = UILabel::make(CGRectMake(8, 4, 244, 44));
            text->setText(NSString::make("Message " + std::to_string(i + 1) +
                                         ": are we still on for tonight? Table for four at 8"));
            text->setFont(UIFont::systemFontOfSize(15));
            text->setNumberOfLines(0);
            bubble->addSubview(text);
            made->addSubview(bubble);
        }
        UITextView* overlay = UITextView::make(CGRectMake(120, 160, 260, 52));
        overlay->setText(NSString::make("Yes! Table for four at 8, the address is 12 Harbour Street"));
        overlay->setFont(UIFont::systemFontOfSize(15));
        overlay->setBackgroundColor(grey(0.15));
        overlay->setTextColor(grey(1));
        overlay->layer()->setCornerRadius(7);
        overlay->setSelectedRange(NSMakeRange(41, 17));
        made->addSubview(overlay);
        return made;
    }();
    return window.get();
}

device::MadeFolder temporaryFolder() {
    auto folder = device::MadeFolder::makeTemporary("lexorna-bench");
    if (!folder) {
        std::cerr << folder.error() << "\n";
        std::abort();
    }
    return std::move(*folder);
}

sim::render::SurfaceHandle drawnChat() {
    auto drawn = sim::drawScreen(chatWindow(), Scale);
    if (!drawn) {
        std::cerr << drawn.error() << "\n";
        std::abort();
    }
    return std::move(*drawn);
}

// Drawing the window into pixels, nothing written.
void DrawScreen(benchmark::State& state) {
    for (auto _ : state)
        benchmark::DoNotOptimize(drawnChat());
}
BENCHMARK(DrawScreen)->Unit(benchmark::kMillisecond);

cairo_status_t appendBytes(void* closure, const unsigned char* data, unsigned int length) {
    static_cast<std::string*>(closure)->append(reinterpret_cast<const char*>(data), length);
    return CAIRO_STATUS_SUCCESS;
}

// The same pixels as PNG bytes: by cairo's writer, which the simulator used before
// (zlib's default level, libpng's adaptive filters), and by the simulator's own.
void EncodePngByCairo(benchmark::State& state) {
    auto surface = drawnChat();
    std::size_t size = 0;
    for (auto _ : state) {
        std::string png;
        cairo_surface_write_to_png_stream(surface.get(), appendBytes, &png);
        size = png.size();
    }
    state.counters["kilobytes"] = static_cast<double>(size) / 1000;
}
BENCHMARK(EncodePngByCairo)->Unit(benchmark::kMillisecond);

void EncodePng(benchmark::State& state) {
    auto surface = drawnChat();
    std::size_t size = 0;
    for (auto _ : state)
        size = sim::render::encodePng(surface.get())->size();
    state.counters["kilobytes"] = static_cast<double>(size) / 1000;
}
BENCHMARK(EncodePng)->Unit(benchmark::kMillisecond);

// A whole screenshot as a step takes it: drawn, encoded and written to a file.
void Screenshot(benchmark::State& state) {
    auto folder = temporaryFolder();
    const std::string file = (folder.path() / "chat.png").string();
    std::string error;
    for (auto _ : state)
        if (!sim::renderScreenshot(chatWindow(), file, Scale, &error))
            state.SkipWithError(error.c_str());
}
BENCHMARK(Screenshot)->Unit(benchmark::kMillisecond);

// The same in a process of its own, as each launch of a flow takes its screenshots: there
// the picture's memory is new, and each page of it costs a fault. The time is the child's
// wall clock; cpu_ms its own processor time, which other work on the machine leaves alone.
void ScreenshotInAFreshProcess(benchmark::State& state) {
    auto folder = temporaryFolder();
    const std::string file = (folder.path() / "chat.png").string();
    chatWindow();
    double cpuSeconds = 0;
    for (auto _ : state) {
        int pipe[2];
        if (::pipe(pipe) != 0)
            std::abort();
        const pid_t child = ::fork();
        if (child == 0) {
            auto started = std::chrono::steady_clock::now();
            const std::clock_t cpuStarted = std::clock();
            const bool taken = sim::renderScreenshot(chatWindow(), file, Scale, nullptr);
            const double seconds[2] = {
                std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count(),
                static_cast<double>(std::clock() - cpuStarted) / CLOCKS_PER_SEC};
            const bool told = ::write(pipe[1], seconds, sizeof seconds) == sizeof seconds;
            ::_exit(taken && told ? 0 : 1);
        }
        double seconds[2] = {0, 0};
        const bool heard = ::read(pipe[0], seconds, sizeof seconds) == sizeof seconds;
        ::close(pipe[0]);
        ::close(pipe[1]);
        int status = 0;
        ::waitpid(child, &status, 0);
        if (!heard || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
            state.SkipWithError("the child took no screenshot");
        state.SetIterationTime(seconds[0]);
        cpuSeconds += seconds[1];
    }
    state.counters["cpu_ms"] = cpuSeconds * 1000 / static_cast<double>(state.iterations());
}
BENCHMARK(ScreenshotInAFreshProcess)->Unit(benchmark::kMillisecond)->UseManualTime();

double median(std::vector<double> values) {
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    const std::size_t middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

// The demo as a person runs it: ten flows of five apps, each launch a process of its own,
// twenty screenshots among 106 steps. The steps' times are the report's.
void DemoFlowSteps(benchmark::State& state) {
    auto folder = temporaryFolder();
    const std::string command =
        std::string(LEXORNA_SIM) + " demo --out " + folder.path().string() + " >/dev/null";
    std::vector<double> steps, screenshots;
    std::chrono::duration<double, std::milli> wall{};
    for (auto _ : state) {
        auto started = std::chrono::steady_clock::now();
        if (std::system(command.c_str()) != 0)
            state.SkipWithError("the demo failed");
        wall += std::chrono::steady_clock::now() - started;
        std::ifstream in(folder.path() / "report.json");
        const auto report = nlohmann::json::parse(in, nullptr, false);
        for (const auto& flow : report.value("flows", nlohmann::json::array()))
            for (const auto& launch : flow.value("launches", nlohmann::json::array()))
                for (const auto& step : launch.value("steps", nlohmann::json::array())) {
                    const double ms = step.value("seconds", 0.0) * 1000;
                    steps.push_back(ms);
                    if (step.value("step", "") == "takeScreenshot")
                        screenshots.push_back(ms);
                }
    }
    state.counters["step_ms_median"] = median(steps);
    state.counters["screenshot_ms_median"] = median(screenshots);
    state.counters["wall_ms_per_step"] = steps.empty() ? 0 : wall.count() / static_cast<double>(steps.size());
}
BENCHMARK(DemoFlowSteps)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace
