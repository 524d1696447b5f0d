#pragma once

namespace sim {

// lexorna-sim's command line: run, demo, apps, prefs. Answers the exit status.
int runCommandLine(int argc, char** argv);

} // namespace sim
