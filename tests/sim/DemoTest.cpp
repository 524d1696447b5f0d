// `lexorna-sim demo` as a person runs it, and what it shares with `run`: the report's
// page beside the JSON, the screenshot scale, the exit status, and folders that cannot
// be used, named before anything plays.

#include "PngImage.h"
#include "TemporaryFolder.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <regex>
#include <set>
#include <sys/wait.h>

namespace {

struct Outcome {
    int status = -1;
    std::string out;
    std::string err;
};

class DemoTest : public testing::Test {
protected:
    // Runs the simulator in the test's folder.
    Outcome simulate(const std::string& arguments) {
        std::string command = "cd " + temp_.path().string() + " && " + LEXORNA_SIM + " " + arguments +
                              " >stdout.txt 2>stderr.txt";
        int raw = std::system(command.c_str());
        return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, temp_.read("stdout.txt"), temp_.read("stderr.txt")};
    }

    TemporaryFolder temp_;
};

std::vector<std::string> exampleFlows() {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(LEXORNA_EXAMPLE_FLOWS))
        if (entry.path().extension() == ".yaml")
            names.push_back("examples/flows/" + entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

std::vector<std::string> imageSources(const std::string& page) {
    static const std::regex image("<img src=\"([^\"]*)\"");
    std::vector<std::string> sources;
    for (auto it = std::sregex_iterator(page.begin(), page.end(), image); it != std::sregex_iterator(); ++it)
        sources.push_back((*it)[1]);
    return sources;
}

const std::string ScreenshotFlow = R"(app: whatsapp
settings:
  values: {Aw: true, WhatsApp: true}
content:
  messages: ["Hello there"]
---
- launch
- takeScreenshot: chat
)";

} // namespace

TEST_F(DemoTest, PlaysEveryExampleFlowFromAnyFolderWithItsReportAndPage) {
    Outcome outcome = simulate("demo");
    EXPECT_EQ(outcome.status, 0) << outcome.out << outcome.err;

    // One line per flow, quiet progress when piped, the count, then where the page is.
    const auto folder = temp_.path() / "lexorna-demo";
    std::string expected;
    for (const auto& flow : exampleFlows())
        expected += "ok   " + flow + " (";
    std::string lines = std::regex_replace(outcome.out, std::regex("\\d+ steps\\)\n"), "");
    EXPECT_EQ(lines, expected + std::to_string(exampleFlows().size()) +
                         " passed, 0 failed\nreport: " + (folder / "report.html").string() + "\n");

    auto report = nlohmann::json::parse(temp_.read("lexorna-demo/report.json"));
    ASSERT_EQ(report["flows"].size(), exampleFlows().size());
    for (const auto& flow : report["flows"])
        EXPECT_TRUE(flow["ok"]) << flow["file"];

    // Every picture the page shows is beside it, and no two flows share one.
    auto sources = imageSources(temp_.read("lexorna-demo/report.html"));
    EXPECT_FALSE(sources.empty());
    EXPECT_EQ(std::set<std::string>(sources.begin(), sources.end()).size(), sources.size());
    for (const auto& source : sources)
        EXPECT_TRUE(std::filesystem::is_regular_file(folder / source)) << source;
}

TEST_F(DemoTest, RunWritesThePageBesideItsReportFailuresFirstWithTheirPicture) {
    temp_.write("shot.yaml", ScreenshotFlow);
    temp_.write("failing.yaml", std::regex_replace(ScreenshotFlow, std::regex("chat\n"), "chat-again\n") +
                                    "- assertPasteboard: \"never copied\"\n");
    temp_.write("plain.yaml", "app: twitter\ninstall: false\n---\n- launch\n");

    // The page links the screenshots where --out put them; a failing flow fails the run.
    Outcome outcome = simulate("run shot.yaml failing.yaml --report reports/run.json --out shots --scale 1");
    EXPECT_EQ(outcome.status, 1) << outcome.err;
    std::string page = temp_.read("reports/run.html");
    // The failed flow comes first and open, with the screen as it was at its failure.
    auto sources = imageSources(page);
    ASSERT_EQ(sources.size(), 3u);
    EXPECT_EQ(sources[0], "../shots/chat-again.png");
    EXPECT_EQ(sources[1].rfind("../shots/failing-line-", 0), 0u) << sources[1];
    EXPECT_TRUE(std::filesystem::exists(temp_.path() / "shots" / sources[1].substr(9)));
    EXPECT_EQ(sources[2], "../shots/chat.png");
    EXPECT_LT(page.find("<details open>\n<summary><h2><span class=\"badge\">failed</span> failing.yaml"),
              page.find("<span class=\"badge\">ok</span> shot.yaml"));
    auto shot = PngImage::read(temp_.path() / "shots/chat.png");
    ASSERT_TRUE(shot);
    EXPECT_EQ(shot->width, 390) << "drawn at one pixel per point";

    // A page without a single screenshot still comes with its report.
    EXPECT_EQ(simulate("run plain.yaml --report plain.json").status, 0);
    EXPECT_TRUE(std::filesystem::exists(temp_.path() / "plain.json"));
    EXPECT_TRUE(std::filesystem::exists(temp_.path() / "plain.html"));

    EXPECT_EQ(simulate("run shot.yaml --scale 0").status, 2) << "a scale that draws nothing is refused";
}

TEST_F(DemoTest, FoldersThatCannotBeUsedAreNamedBeforeAnythingPlays) {
    const std::string file = temp_.write("taken", "a file, not a folder").string();
    temp_.write("shot.yaml", ScreenshotFlow);

    Outcome outcome = simulate("run shot.yaml --device taken");
    EXPECT_EQ(outcome.status, 1);
    EXPECT_EQ(outcome.err, "lexorna-sim: cannot use taken as a device: not a folder\n");
    EXPECT_EQ(outcome.out, "");

    outcome = simulate("run shot.yaml --out taken/shots");
    EXPECT_EQ(outcome.status, 1);
    EXPECT_EQ(outcome.err.rfind("lexorna-sim: cannot write screenshots to " + file + "/shots: ", 0), 0u)
        << outcome.err;
    EXPECT_EQ(outcome.out, "");

    outcome = simulate("demo --out taken");
    EXPECT_EQ(outcome.status, 1);
    EXPECT_EQ(outcome.err.rfind("lexorna-sim: cannot write the demo to " + file + ": ", 0), 0u)
        << outcome.err;
    EXPECT_EQ(temp_.read("taken"), "a file, not a folder");
}
