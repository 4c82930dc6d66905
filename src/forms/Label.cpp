#include "forms/Label.h"

#include "forms/TextMetrics.h"

namespace forms {

TLabel::TLabel(TComponent* owner) : TControl(owner) {}

void TLabel::AdjustSize() {
    const SIZE extent = MeasureText(Font(), Caption());
    rtl::Rect bounds = BoundsRect();
    bounds.width = extent.cx;
    bounds.height = extent.cy;
    SetBounds(bounds);
}

} // namespace forms
