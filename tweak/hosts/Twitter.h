#pragma once

#include "activation/HookTable.h"

// Twitter: a single tap on a direct message (TFNSpacerView); a double tap on the
// conversation screen (T1DirectMessageConversationEntriesViewController) takes the
// overlay away.
namespace lexorna::twitter {

HookList hookEntries();

} // namespace lexorna::twitter
