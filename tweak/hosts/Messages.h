#pragma once

#include "activation/HookTable.h"

// Messages: a single tap on a balloon (CKBalloonTextView), whose overlay lies in the
// top-most controller's view; a double tap on the transcript
// (CKTranscriptCollectionViewController) takes it away.
namespace lexorna::messages {

HookList hookEntries();

} // namespace lexorna::messages
