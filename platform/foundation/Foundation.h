#pragma once

// Defines every Foundation class in the runtime. The platform calls it when it loads,
// so that objc_getClass finds a class before any code has used it from C++.
void registerFoundationClasses();
