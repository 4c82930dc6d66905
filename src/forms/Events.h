// Event types of the form layer.
#pragma once

#include <functional>

namespace forms {

class TComponent;

// An event without arguments of its own: the handler gets the component that raised it.
using TNotifyEvent = std::function<void(TComponent* Sender)>;

} // namespace forms
