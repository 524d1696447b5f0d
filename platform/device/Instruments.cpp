#include "Instruments.h"

namespace device {

Instruments& Instruments::shared() {
    // Never destroyed: objects released while the process exits may still log.
    static auto* instance = new Instruments;
    return *instance;
}

} // namespace device
