// The design of the main window: its settings and its components in creation order.
#pragma once

#include "forms/FormDesign.h"

namespace res {

const forms::FormDesign& Form1Design();

} // namespace res
