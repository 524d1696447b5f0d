#include "sim/cli/CommandLine.h"

int main(int argc, char** argv) {
    return sim::runCommandLine(argc, argv);
}
