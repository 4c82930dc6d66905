#include "forms/Button.h"

#include "forms/DesignEnvironment.h"
#include "forms/FormDesign.h"

namespace forms {

TButton::TButton(TComponent* owner) : TControl(owner) {}

void TButton::Click() {
    if (OnClick) {
        OnClick(this);
    }
}

void TButton::LoadDesign(const ComponentDesign& row, const DesignEnvironment& environment) {
    TControl::LoadDesign(row, environment);
    if (row.onClick != nullptr) {
        OnClick = environment.resolveHandler(row.onClick);
    }
}

} // namespace forms
