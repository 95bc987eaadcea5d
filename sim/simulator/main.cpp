#include <iostream>
#include <string>

#include "Simulator.h"

int main(int argc, char** argv) {
    using lumivoke::sim::Simulator;
    std::string file = "-";
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--help" || arg == "-h") {
            Simulator help(std::cout, std::cerr);
            std::cout << help.help();
            return 0;
        }
        if (arg.size() > 1 && arg[0] == '-' && arg != "-") {
            std::cerr << "lumivoke-sim: unknown option " << arg << " (see --help)\n";
            return 2;
        }
        if (i != argc - 1) {
            std::cerr << "lumivoke-sim: one scenario at a time (see --help)\n";
            return 2;
        }
        file = arg;
    }
    Simulator simulator(std::cout, std::cerr);
    std::vector<lumivoke::sim::ScenarioStep> steps;
    try {
        if (file == "-") {
            steps = simulator.parse(std::cin, "<stdin>");
        } else {
            steps = simulator.parseFile(file);
        }
    } catch (const lumivoke::sim::ScenarioError& e) {
        std::cerr << e.what() << '\n';
        return 2;
    }
    const int status = simulator.run(steps);
    std::cout.flush();
    return status;
}
