#pragma once

// Defines every UIKit class in the runtime, so that objc_getClass finds them before any
// app code runs, as the system frameworks' classes exist when an app starts.
void registerUIKitClasses();
