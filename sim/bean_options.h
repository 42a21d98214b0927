// The options that change how the simulated beans answer heat and fan:
// roaster-sim takes them, and so does the console with --simulate, by the
// same names and with the same checks.
#pragma once

#include <string>
#include <vector>

#include "thermal_model.h"

struct BeanOption {
    std::string name;        // without the leading dashes, e.g. "batch-scale"
    std::string value_name;  // e.g. "F"
    std::string help;        // a short line for --help, with the default in brackets
};

// Every such option, in the order the help lists them.
const std::vector<BeanOption>& BeanOptions();

// Sets the option `name` of BeanOptions() from `value`. When the value
// does not do, `beans` is left alone and the answer is an error naming
// the option (e.g. "--batch-scale takes a number from 0.1 to 10"); else it
// is empty.
std::string SetBeanOption(BeanResponse& beans, const std::string& name, const std::string& value);

// The simulated roaster's name in the logs of the roasts made on it
// ("roaster"), e.g. "Simulated (hot air, batch x0.8)": its model and what
// the options change of the roaster. The room is left out: a roaster is
// the same roaster in a cold room, and its model allows for the room.
std::string SimulatedRoasterName(const BeanResponse& beans);
