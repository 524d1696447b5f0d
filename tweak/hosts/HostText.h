#pragma once

#include "objc/Object.h"

#include <initializer_list>

// Follows a chain of host properties from an object (cellData, then message, then
// textToSpeak, say) and answers the string at its end, or nil. A link that the object
// does not answer (a host update renamed it), or an end that is not a string, gives nil
// rather than an exception that would end the host app.
id hostTextByChain(id object, std::initializer_list<const char*> properties);
