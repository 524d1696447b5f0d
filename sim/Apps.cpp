#include "Apps.h"

#include <array>

namespace sim {

namespace {

constexpr std::array<AppInfo, 5> Apps{{
    {"whatsapp", "net.whatsapp.WhatsApp", "navigation controller > WAChatViewController (view id chat)",
     "one WAMessageContainerView per message: message-1, message-2, ...", "cellData.message.textToSpeak"},
    {"youtube", "com.google.ios.youtube",
     "watch page controller (view id watch) showing a YTEngagementPanelViewController (view id "
     "engagement-panel, close button engagement-panel-close)",
     "one YTFormattedStringLabel per comment: comment-1, ...", "attributedText.string"},
    {"twitter", "com.atebits.Tweetie2",
     "navigation controller > T1DirectMessageConversationEntriesViewController (view id conversation)",
     "one TFNSpacerView per message: dm-1, ...", "first subview's tiledLayer.state.attributedString.string"},
    {"instagram", "com.burbn.instagram",
     "tab bar controller > navigation controller > comments controller (view id comments)",
     "one IGCoreTextView per comment: comment-1, ...", "text"},
    {"messages", "com.apple.MobileSMS",
     "navigation controller > CKTranscriptCollectionViewController (view id transcript)",
     "one CKBalloonTextView per message: balloon-1, ...", "text"},
}};

} // namespace

std::span<const AppInfo> simulatedApps() {
    return Apps;
}

const AppInfo* findApp(std::string_view nameOrBundleId) {
    for (const auto& app : Apps)
        if (app.name == nameOrBundleId || app.bundleId == nameOrBundleId)
            return &app;
    return nullptr;
}

std::string appNames() {
    std::string out;
    for (const auto& app : Apps) {
        if (!out.empty())
            out += ", ";
        out += app.name;
    }
    return out;
}

} // namespace sim
