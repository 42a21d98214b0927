// Port discovery as the link calls it.
#pragma once

#include <stdexcept>
#include <vector>

#include "ser_info.h"

// A listing that failed; what() is the text to show.
class PortListError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class PortLister {
public:
    virtual ~PortLister() = default;
    // Empties `ports`, then fills it with the machine's serial ports.
    // Throws PortListError on failure.
    virtual void ListSerialPorts(std::vector<SSerInfo>& ports) = 0;
};
