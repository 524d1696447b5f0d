// Messages: a conversation transcript. Each message is a balloon whose text is shown
// by a CKBalloonTextView, a text view that cannot be edited.

#include "BubbleColumn.h"
#include "ContentItems.h"
#include "HexColor.h"
#include "HostApps.h"
#include "HostClass.h"
#include "NavigationBar.h"

#include "foundation/NSArray.h"
#include "foundation/NSString.h"
#include "uikit/UINavigationController.h"
#include "uikit/UITextView.h"

#include <algorithm>

namespace apps {

namespace {

using nlohmann::json;
using objc::send;

constexpr const char* TranscriptCollectionViewController = "CKTranscriptCollectionViewController";
constexpr const char* BalloonTextView = "CKBalloonTextView";
constexpr const char* TextMessagePartChatItem = "CKTextMessagePartChatItem";

const BubbleColumn::Style BalloonStyle{
    .fontSize = 17, .padding = {12, 7}, .margin = 12, .spacing = 6, .minimumHeight = 36, .widthShare = 0.7};
constexpr double BalloonCornerRadius = 18;

UIView* makeBalloon(id chatItem, std::size_t index, BubbleColumn& column) {
    id text = send<id>(chatItem, "text");
    BubbleSide side = index % 2 ? BubbleSide::Incoming : BubbleSide::Outgoing;
    auto placement = column.place(utf8Of(text), side);

    id balloon = objc_autorelease(
        send<id>(send<id>(hostClass(BalloonTextView), "alloc"), "initWithFrame:", placement.frame));
    auto* view = objc::cast<UIView>(balloon);
    view->setAutoresizingMask(placement.autoresizingMask);
    view->setAccessibilityIdentifier("balloon-" + std::to_string(index));
    bool incoming = side == BubbleSide::Incoming;
    view->setBackgroundColor(incoming ? hexColor(0xE9E9EB) : hexColor(0x007AFF));
    view->setClipsToBounds(true);
    send(balloon, "setEditable:", false);
    send(balloon, "setFont:", UIFont::systemFontOfSize(BalloonStyle.fontSize));
    send(balloon, "setTextColor:", incoming ? UIColor::blackColor() : UIColor::whiteColor());
    send(balloon, "setText:", text);
    return view;
}

// -[CKTranscriptCollectionViewController viewDidLoad]: one balloon per message.
void transcriptViewDidLoad(id self, SEL) {
    objc::sendSuper(self, hostClass(TranscriptCollectionViewController), "viewDidLoad");
    UIView* view = objc::cast<UIViewController>(self)->view();
    view->setAccessibilityIdentifier("transcript");
    view->setBackgroundColor(UIColor::whiteColor());
    double width = view->bounds().size.width;
    view->addSubview(makeNavigationBar(width, "Alex", hexColor(0xF9F9F9), UIColor::blackColor()));

    BubbleColumn column(width, NavigationBarBottom + 12, BalloonStyle);
    std::size_t index = 0;
    if (auto* items = objc::cast<NSArray>(hostProperty(self, "chatItems")))
        for (const auto& item : *items)
            view->addSubview(makeBalloon(item.get(), ++index, column));
}

// -[CKBalloonTextView setText:]: the balloon keeps its message's text as it came, nil
// for a message without text, while the text view shows it (or nothing).
void balloonSetText(id self, SEL, id text) {
    setHostProperty(self, "text", text);
    objc::sendSuper(self, hostClass(BalloonTextView), "setText:", text);
}

// -[CKBalloonTextView layoutSubviews]: a balloon of one line is a capsule, a taller
// one keeps the balloon's corner radius.
void balloonLayoutSubviews(id self, SEL) {
    objc::sendSuper(self, hostClass(BalloonTextView), "layoutSubviews");
    auto* view = objc::cast<UIView>(self);
    view->layer()->setCornerRadius(std::min(BalloonCornerRadius, view->bounds().size.height / 2));
}

void registerClasses() {
    static const bool registered = [] {
        declareHostClass(TextMessagePartChatItem, NSObject::staticClass(), {"text"});
        Class balloon = declareHostClass(BalloonTextView, UITextView::staticClass(), {"text"});
        objc::addMethod(balloon, "setText:", &balloonSetText);
        objc::addMethod(balloon, "layoutSubviews", &balloonLayoutSubviews);
        Class transcript = declareHostClass(TranscriptCollectionViewController,
                                            UIViewController::staticClass(), {"chatItems"});
        objc::addMethod(transcript, "viewDidLoad", &transcriptViewDidLoad);
        return true;
    }();
    (void)registered;
}

UIViewController* makeRootViewController(const json& content) {
    std::vector<objc::Ref<objc::Object>> items;
    for (const auto& message : contentList(content, "messages")) {
        id item = makeHostObject(TextMessagePartChatItem);
        auto text = itemText(message);
        setHostProperty(item, "text", text ? NSString::make(*text) : nullptr);
        items.emplace_back(item);
    }
    auto* transcript = objc::cast<UIViewController>(makeHostObject(TranscriptCollectionViewController));
    setHostProperty(transcript, "chatItems", NSArray::make(std::move(items)));
    return UINavigationController::make(transcript);
}

} // namespace

AppDescription messagesDescription() {
    return {"messages",
            "com.apple.MobileSMS",
            "a conversation transcript: one balloon per message, incoming grey on the left and outgoing "
            "blue on the right",
            {"transcript", "balloon-N"},
            {TranscriptCollectionViewController, BalloonTextView, TextMessagePartChatItem},
            {{BalloonTextView, "text"}},
            TranscriptCollectionViewController,
            {"messages"},
            &registerClasses,
            &makeRootViewController};
}

} // namespace apps
