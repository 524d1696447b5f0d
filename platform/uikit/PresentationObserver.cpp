#include "PresentationObserver.h"

namespace {
PresentationObserver* observer = nullptr;
}

void PresentationObserver::set(PresentationObserver* newObserver) {
    observer = newObserver;
}

PresentationObserver* PresentationObserver::current() {
    return observer;
}
