#pragma once

#include "activation/HookTable.h"

// WhatsApp: a double tap on a message (WAMessageContainerView); a double tap on the chat
// screen (WAChatViewController) takes the overlay away.
namespace lexorna::whatsapp {

HookList hookEntries();

} // namespace lexorna::whatsapp
