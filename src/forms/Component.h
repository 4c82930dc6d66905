// TComponent: a named part of the program that may own other components. An owner destroys the
// components it owns when it is destroyed itself, the most recently added first.
#pragma once

#include "forms/Events.h"

#include <string>
#include <string_view>
#include <vector>

namespace forms {

struct ComponentDesign;
struct DesignEnvironment;

class TComponent {
public:
    explicit TComponent(TComponent* owner);
    virtual ~TComponent();
    TComponent(const TComponent&) = delete;
    TComponent& operator=(const TComponent&) = delete;

    const std::string& Name() const { return name_; }
    void SetName(std::string name) { name_ = std::move(name); }

    TComponent* Owner() const { return owner_; }
    int ComponentCount() const { return static_cast<int>(components_.size()); }
    TComponent* Components(int index) const { return components_.at(index); }
    // The owned component of that name (names compare case-sensitively), or nullptr.
    TComponent* FindComponent(std::string_view name) const;

    // Takes the settings of one row of a window design. Components that are created from a
    // design override this; the default takes nothing.
    virtual void LoadDesign(const ComponentDesign& row, const DesignEnvironment& environment);

protected:
    // Destroys every owned component now, the most recently added first.
    void DestroyComponents();
    // Called when an owned component is destroyed by other means than its owner.
    virtual void ComponentRemoved(TComponent* component);

private:
    TComponent* owner_;
    std::string name_;
    std::vector<TComponent*> components_;
};

} // namespace forms
