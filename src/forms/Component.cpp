#include "forms/Component.h"

#include <algorithm>

namespace forms {

TComponent::TComponent(TComponent* owner) : owner_(owner) {
    if (owner_ != nullptr) {
        owner_->components_.push_back(this);
    }
}

TComponent::~TComponent() {
    DestroyComponents();
    if (owner_ != nullptr) {
        auto& siblings = owner_->components_;
        siblings.erase(std::remove(siblings.begin(), siblings.end(), this), siblings.end());
        owner_->ComponentRemoved(this);
    }
}

TComponent* TComponent::FindComponent(std::string_view name) const {
    for (TComponent* component : components_) {
        if (component->Name() == name) {
            return component;
        }
    }
    return nullptr;
}

void TComponent::LoadDesign(const ComponentDesign&, const DesignEnvironment&) {}

void TComponent::DestroyComponents() {
    while (!components_.empty()) {
        TComponent* component = components_.back();
        components_.pop_back();
        component->owner_ = nullptr;
        delete component;
    }
}

void TComponent::ComponentRemoved(TComponent*) {}

} // namespace forms
