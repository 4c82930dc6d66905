#include "forms/DesignBindings.h"

#include "forms/FormDesign.h"
#include "forms/FormErrors.h"

#include <algorithm>
#include <string_view>

namespace forms {

DesignBindings& DesignBindings::Handler(const char* name, TNotifyEvent handler) {
    handlers_[name] = std::move(handler);
    return *this;
}

TComponent* DesignBindings::CreateComponent(const ComponentDesign& row, TComponent* owner) const {
    const auto field = std::find_if(fields_.begin(), fields_.end(),
                                    [&](const FieldBinding& f) { return f.name == row.name; });
    if (field == fields_.end()) {
        throw EComponentError(std::string("Field ") + row.name + " does not exist");
    }
    if (std::string_view(field->className) != row.className) {
        throw EComponentError(std::string("Field ") + row.name + " is a " + field->className +
                              ", not a " + row.className);
    }
    return field->create(owner);
}

TNotifyEvent DesignBindings::ResolveHandler(const char* name) const {
    const auto handler = handlers_.find(std::string_view(name));
    if (handler == handlers_.end()) {
        throw EComponentError(std::string("Handler ") + name + " does not exist");
    }
    return handler->second;
}

void DesignBindings::CheckAllFieldsFilled(const std::vector<const char*>& designedNames) const {
    for (const FieldBinding& field : fields_) {
        const bool designed = std::any_of(designedNames.begin(), designedNames.end(),
                                          [&](const char* name) { return field.name == name; });
        if (!designed) {
            throw EComponentError("Component " + field.name + " is missing from the design");
        }
    }
}

} // namespace forms
