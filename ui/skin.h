// Skin colours for a freshly created window. Every window's creation handler
// calls ApplySkin(*this) before it sets the colours it insists on, so those win.
#pragma once

#include "kit/component.h"

namespace zs {

// Applies the skin file to `window` and the components it owns (walked by
// component name and class name, properties set by name). For now this does
// nothing: every window keeps its design colours until the skin applier is built.
void ApplySkin(TComponent& window);

}  // namespace zs
