// The probe's own failure: a window that does not show, a control that is missing, a target
// that does not answer.
#pragma once

#include "rtl/Exceptions.h"

namespace probe {

class ProbeError : public rtl::Exception {
public:
    using rtl::Exception::Exception;
};

} // namespace probe
