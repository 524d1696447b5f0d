// Twitter: a direct message conversation. Each entry is a TFNSpacerView; a message's
// entry holds a content view that draws its text through a tiled layer, whose state
// keeps the attributed string.

#include "BubbleColumn.h"
#include "ContentItems.h"
#include "HexColor.h"
#include "HostApps.h"
#include "HostClass.h"
#include "Label.h"
#include "NavigationBar.h"

#include "foundation/NSArray.h"
#include "foundation/NSAttributedString.h"
#include "foundation/NSString.h"
#include "uikit/UILabel.h"
#include "uikit/UINavigationController.h"

#include <set>

namespace apps {

namespace {

using nlohmann::json;
using objc::send;

constexpr const char* ConversationEntriesViewController = "T1DirectMessageConversationEntriesViewController";
constexpr const char* SpacerView = "TFNSpacerView";
constexpr const char* EntryContentView = "T1DirectMessageEntryContentView";
constexpr const char* TiledLayer = "TFNTiledLayer";
constexpr const char* TiledLayerState = "TFNTiledLayerState";
constexpr const char* Entry = "T1DirectMessageEntry";

const BubbleColumn::Style BubbleStyle{
    .fontSize = 16, .padding = {14, 10}, .margin = 16, .spacing = 8, .minimumHeight = 40};
constexpr double BlankEntryHeight = 12;

// The message as the entry's state keeps it, read from the storage as the app's own code
// reads it.
std::string stateText(id state) {
    return utf8Of(send<id>(hostProperty(state, "attributedString"), "string"));
}

UIView* makeContentView(id state, BubbleSide side, CGSize size) {
    auto* content = objc::cast<UIView>(makeHostObject(EntryContentView));
    content->setFrame(CGRectMake(0, 0, size.width, size.height));
    bool incoming = side == BubbleSide::Incoming;
    content->setBackgroundColor(incoming ? hexColor(0xEFF3F4) : hexColor(0x1D9BF0));
    content->layer()->setCornerRadius(16);
    // The corner towards the sender stays square.
    content->layer()->setMaskedCorners(incoming ? 1 | 2 | 8 : 1 | 2 | 4);

    id layer = makeHostObject(TiledLayer);
    setHostProperty(layer, "state", state);
    setHostProperty(content, "tiledLayer", layer);

    UILabel* label = makeLabel(stateText(state), BubbleStyle.textFrame(size), BubbleStyle.fontSize,
                               incoming ? hexColor(0x0F1419) : UIColor::whiteColor());
    label->setAutoresizingMask(UIViewAutoresizingFlexibleWidth | UIViewAutoresizingFlexibleHeight);
    content->addSubview(label);
    return content;
}

UIView* makeEntry(id entry, std::size_t index, BubbleColumn& column) {
    auto* spacer = objc::cast<UIView>(makeHostObject(SpacerView));
    spacer->setAccessibilityIdentifier("dm-" + std::to_string(index));
    id state = hostProperty(entry, "state");
    if (!state) {
        auto placement = column.placeBlank(BlankEntryHeight);
        spacer->setFrame(placement.frame);
        spacer->setAutoresizingMask(placement.autoresizingMask);
        return spacer;
    }
    BubbleSide side = index % 2 ? BubbleSide::Incoming : BubbleSide::Outgoing;
    auto placement = column.place(stateText(state), side);
    spacer->setFrame(placement.frame);
    spacer->setAutoresizingMask(placement.autoresizingMask);
    spacer->addSubview(makeContentView(state, side, placement.frame.size));
    return spacer;
}

// -[T1DirectMessageConversationEntriesViewController viewDidLoad]: one entry per message.
void conversationViewDidLoad(id self, SEL) {
    objc::sendSuper(self, hostClass(ConversationEntriesViewController), "viewDidLoad");
    UIView* view = objc::cast<UIViewController>(self)->view();
    view->setAccessibilityIdentifier("conversation");
    view->setBackgroundColor(UIColor::whiteColor());
    double width = view->bounds().size.width;
    view->addSubview(makeNavigationBar(width, "Alex", UIColor::whiteColor(), hexColor(0x0F1419)));

    BubbleColumn column(width, NavigationBarBottom + 12, BubbleStyle);
    std::size_t index = 0;
    if (auto* entries = objc::cast<NSArray>(hostProperty(self, "entries")))
        for (const auto& entry : *entries)
            view->addSubview(makeEntry(entry.get(), ++index, column));
}

// -[TFNSpacerView layoutSubviews]: the entry's content view fills it.
void spacerLayoutSubviews(id self, SEL) {
    objc::sendSuper(self, hostClass(SpacerView), "layoutSubviews");
    auto* spacer = objc::cast<UIView>(self);
    if (spacer->subviews().empty())
        return;
    UIView* content = spacer->subviews().front().get();
    if (objc::isKindOfClass(content, hostClass(EntryContentView)))
        content->setFrame(spacer->bounds());
}

void registerClasses() {
    static const bool registered = [] {
        declareHostClass(TiledLayerState, NSObject::staticClass(), {"attributedString"});
        declareHostClass(TiledLayer, CALayer::staticClass(), {"state"});
        declareHostClass(EntryContentView, UIView::staticClass(), {"tiledLayer"});
        Class spacer = declareHostClass(SpacerView, UIView::staticClass());
        objc::addMethod(spacer, "layoutSubviews", &spacerLayoutSubviews);
        declareHostClass(Entry, NSObject::staticClass(), {"state"});
        Class conversation =
            declareHostClass(ConversationEntriesViewController, UIViewController::staticClass(), {"entries"});
        objc::addMethod(conversation, "viewDidLoad", &conversationViewDidLoad);
        return true;
    }();
    (void)registered;
}

// The 1-based numbers of the entries that have no content view.
std::set<long long> emptyEntries(const json& content) {
    std::set<long long> numbers;
    for (const auto& number : contentList(content, "emptyEntries"))
        if (number.is_number_integer())
            numbers.insert(number.get<long long>());
    return numbers;
}

UIViewController* makeRootViewController(const json& content) {
    std::set<long long> empty = emptyEntries(content);
    std::vector<objc::Ref<objc::Object>> entries;
    for (const auto& item : contentList(content, "messages")) {
        id entry = makeHostObject(Entry);
        if (!empty.contains(static_cast<long long>(entries.size()) + 1)) {
            id state = makeHostObject(TiledLayerState);
            auto text = itemText(item);
            setHostProperty(state, "attributedString", text ? NSAttributedString::make(*text) : nullptr);
            setHostProperty(entry, "state", state);
        }
        entries.emplace_back(entry);
    }
    auto* conversation = objc::cast<UIViewController>(makeHostObject(ConversationEntriesViewController));
    setHostProperty(conversation, "entries", NSArray::make(std::move(entries)));
    return UINavigationController::make(conversation);
}

} // namespace

AppDescription twitterDescription() {
    return {
        "twitter",
        "com.atebits.Tweetie2",
        "a direct message conversation: one entry per message, incoming left and outgoing right",
        {"conversation", "dm-N"},
        {ConversationEntriesViewController, SpacerView, EntryContentView, TiledLayer, TiledLayerState, Entry},
        {{"UIView", "subviews"},
         {EntryContentView, "tiledLayer"},
         {TiledLayer, "state"},
         {TiledLayerState, "attributedString"},
         {"NSAttributedString", "string"}},
        ConversationEntriesViewController,
        {"messages", "emptyEntries"},
        &registerClasses,
        &makeRootViewController};
}

} // namespace apps
