#include "HookTable.h"

#include "hosts/Instagram.h"
#include "hosts/Messages.h"
#include "hosts/Twitter.h"
#include "hosts/WhatsApp.h"
#include "hosts/YouTube.h"

const HostGroup* hostGroups() {
    static const HostGroup groups[HostGroupCount] = {
        {"WhatsApp", lexorna::whatsapp::hookEntries()}, {"Youtube", lexorna::youtube::hookEntries()},
        {"Twitter", lexorna::twitter::hookEntries()},   {"Instagram", lexorna::instagram::hookEntries()},
        {"Messages", lexorna::messages::hookEntries()},
    };
    return groups;
}
