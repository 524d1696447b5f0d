#pragma once

#include "ChildProcess.h"
#include "apps/App.h"
#include "apps/ViewLookup.h"
#include "objc/Object.h"

#include <functional>
#include <string_view>
#include <vector>

class UIView;
class UIWindow;

// In a child: gives the process the app's bundle identifier and its classes, runs
// `beforeStart` (where a test replaces host methods) and starts the app.
UIWindow* launchApp(std::string_view name, const nlohmann::json& content,
                    const std::function<void()>& beforeStart = {});

using apps::findView;
using test_support::inChildProcess;

// Replaces a host class's own method of type "v@:" with one that counts its calls and
// then runs the host's implementation, as an injected hook would.
void countCalls(const char* className, const char* selector);
// The receivers of the counted calls of a selector, in call order.
const std::vector<id>& countedReceivers(const char* selector);
