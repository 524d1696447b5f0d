#include "HookTable.h"

#include "hosts/Instagram.h"
#include "hosts/Messages.h"
#include "hosts/Twitter.h"
#include "hosts/WhatsApp.h"
#include "hosts/YouTube.h"

std::span<const HostGroup> hostGroups() {
    // Built on first use: the constructor that installs them may run before the
    // library's other static initialisers.
    static const HostGroup groups[] = {
        {"WhatsApp", lexorna::whatsapp::hookEntries()}, {"Youtube", lexorna::youtube::hookEntries()},
        {"Twitter", lexorna::twitter::hookEntries()},   {"Instagram", lexorna::instagram::hookEntries()},
        {"Messages", lexorna::messages::hookEntries()},
    };
    return groups;
}
