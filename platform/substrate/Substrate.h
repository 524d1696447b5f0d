#pragma once

// The method-replacement interface that CydiaSubstrate gives injected libraries,
// declared with C linkage as its header declares it.

#include "objc/Runtime.h"

extern "C" {

// Makes `replacement` the implementation that instances of `cls` run for `sel`, and
// stores in `*previous` (when given) the implementation they ran before. A method the
// class only inherits is overridden in the class itself, with the inherited method's
// type encoding, so the superclass keeps its own. A nil class, or a selector that
// neither the class nor a superclass has, changes nothing and leaves `*previous` as it
// was.
void MSHookMessageEx(Class cls, SEL sel, IMP replacement, IMP* previous);
}
