#include "Messages.h"

#include "activation/PreviousImplementation.h"

namespace lexorna::messages {

IMP previousBalloonLayoutSubviews = nullptr;
IMP previousTranscriptViewDidLoad = nullptr;

void balloonLayoutSubviews(id self, SEL _cmd) {
    callPrevious(previousBalloonLayoutSubviews, self, _cmd);
}

void CopyMobileSMSCustom(id, SEL) {}

void CopyMobileSMS(id, SEL) {}

void transcriptViewDidLoad(id self, SEL _cmd) {
    callPrevious(previousTranscriptViewDidLoad, self, _cmd);
}

void Dismiss(id, SEL) {}

} // namespace lexorna::messages
