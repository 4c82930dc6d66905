// Errors raised by the form layer itself.
#pragma once

#include "rtl/Exceptions.h"

namespace forms {

// The system refused a resource, such as a timer.
class EOutOfResources : public rtl::Exception {
public:
    using Exception::Exception;
};

// A window design does not fit the form class that loads it (missing field, wrong kind, unknown
// handler name).
class EComponentError : public rtl::Exception {
public:
    using Exception::Exception;
};

inline constexpr const char* kNotEnoughTimers = "Not enough timers available";

} // namespace forms
