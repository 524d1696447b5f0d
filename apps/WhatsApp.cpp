// WhatsApp: a chat. Each message is a WAMessageContainerView whose cell data holds the
// message object; the message's textToSpeak is its text as VoiceOver reads it.

#include "BubbleColumn.h"
#include "ContentItems.h"
#include "HexColor.h"
#include "HostApps.h"
#include "HostClass.h"
#include "Label.h"
#include "NavigationBar.h"

#include "foundation/NSArray.h"
#include "foundation/NSNumber.h"
#include "foundation/NSString.h"
#include "uikit/UILabel.h"
#include "uikit/UINavigationController.h"

namespace apps {

namespace {

using nlohmann::json;
using objc::send;

constexpr const char* ChatViewController = "WAChatViewController";
constexpr const char* MessageContainerView = "WAMessageContainerView";
constexpr const char* ChatCellData = "WAChatCellData";
constexpr const char* Message = "WAMessage";
constexpr const char* SystemMessage = "WASystemMessage";

const BubbleColumn::Style BubbleStyle{
    .fontSize = 16, .padding = {9, 7}, .margin = 12, .spacing = 6, .minimumHeight = 34};

// A scalar of the content as the Foundation object a host property would hold.
id foundationValue(const json& value) {
    if (value.is_string())
        return NSString::make(value.get<std::string>());
    if (value.is_boolean())
        return NSNumber::numberWithBool(value.get<bool>());
    if (value.is_number_integer())
        return NSNumber::numberWithLongLong(value.get<long long>());
    if (value.is_number())
        return NSNumber::numberWithDouble(value.get<double>());
    return nullptr;
}

// The message object of one content item. A map whose textToSpeak is false stands for
// a system notice, an object that has no textToSpeak at all; any other textToSpeak is
// what the message answers, whatever its kind.
id makeMessage(const json& item) {
    auto speech = item.is_object() ? item.find("textToSpeak") : item.end();
    bool hasSpeech = item.is_object() && speech != item.end();
    std::optional<std::string> text = itemText(item);
    if (hasSpeech && speech->is_boolean() && !speech->get<bool>()) {
        id notice = makeHostObject(SystemMessage);
        setHostProperty(notice, "text", text ? NSString::make(*text) : nullptr);
        return notice;
    }
    id message = makeHostObject(Message);
    id textToSpeak = hasSpeech ? foundationValue(*speech) : text ? NSString::make(*text) : nullptr;
    // The bubble shows the item's text, or else what the message speaks.
    if (!text && textToSpeak)
        text = describe(textToSpeak);
    setHostProperty(message, "textToSpeak", textToSpeak);
    setHostProperty(message, "text", text ? NSString::make(*text) : nullptr);
    return message;
}

UIView* makeMessageContainer(id cellData, std::size_t index, BubbleColumn& column) {
    id message = hostProperty(cellData, "message");
    bool notice = objc::isKindOfClass(message, hostClass(SystemMessage));
    std::string text = utf8Of(hostProperty(message, "text"));
    BubbleSide side = notice ? BubbleSide::Notice : index % 2 ? BubbleSide::Incoming : BubbleSide::Outgoing;
    auto placement = column.place(text, side);

    auto* container = objc::cast<UIView>(makeHostObject(MessageContainerView));
    container->setFrame(placement.frame);
    container->setAutoresizingMask(placement.autoresizingMask);
    container->setAccessibilityIdentifier("message-" + std::to_string(index));
    container->setBackgroundColor(notice                         ? hexColor(0xFFF3C4)
                                  : side == BubbleSide::Incoming ? UIColor::whiteColor()
                                                                 : hexColor(0xD9FDD3));
    container->layer()->setCornerRadius(7.5);
    setHostProperty(container, "cellData", cellData);

    UILabel* label =
        makeLabel(text, BubbleStyle.textFrame(placement.frame.size), notice ? 13 : BubbleStyle.fontSize,
                  notice ? hexColor(0x54656F) : hexColor(0x111B21),
                  notice ? NSTextAlignmentCenter : NSTextAlignmentLeft);
    container->addSubview(label);
    setHostProperty(container, "textLabel", label);
    return container;
}

// -[WAChatViewController viewDidLoad]: the chat's bubbles, one per cell data.
void chatViewDidLoad(id self, SEL) {
    objc::sendSuper(self, hostClass(ChatViewController), "viewDidLoad");
    UIView* view = objc::cast<UIViewController>(self)->view();
    view->setAccessibilityIdentifier("chat");
    view->setBackgroundColor(hexColor(0xEFEAE2));
    double width = view->bounds().size.width;
    view->addSubview(makeNavigationBar(width, "Alex", hexColor(0xF6F6F6), hexColor(0x111B21)));

    BubbleColumn column(width, NavigationBarBottom + 10, BubbleStyle);
    std::size_t index = 0;
    if (auto* cells = objc::cast<NSArray>(hostProperty(self, "cellDataList")))
        for (const auto& cellData : *cells)
            view->addSubview(makeMessageContainer(cellData.get(), ++index, column));
}

// -[WAMessageContainerView layoutSubviews]: the text fills the bubble inside its padding.
void containerLayoutSubviews(id self, SEL) {
    objc::sendSuper(self, hostClass(MessageContainerView), "layoutSubviews");
    if (auto* label = objc::cast<UIView>(hostProperty(self, "textLabel")))
        label->setFrame(BubbleStyle.textFrame(objc::cast<UIView>(self)->bounds().size));
}

void registerClasses() {
    static const bool registered = [] {
        declareHostClass(Message, NSObject::staticClass(), {"text", "textToSpeak"});
        declareHostClass(SystemMessage, NSObject::staticClass(), {"text"});
        declareHostClass(ChatCellData, NSObject::staticClass(), {"message"});
        Class container =
            declareHostClass(MessageContainerView, UIView::staticClass(), {"cellData", "textLabel"});
        objc::addMethod(container, "layoutSubviews", &containerLayoutSubviews);
        Class chat = declareHostClass(ChatViewController, UIViewController::staticClass(), {"cellDataList"});
        objc::addMethod(chat, "viewDidLoad", &chatViewDidLoad);
        return true;
    }();
    (void)registered;
}

UIViewController* makeRootViewController(const json& content) {
    std::vector<objc::Ref<objc::Object>> cells;
    for (const auto& item : contentList(content, "messages")) {
        id cellData = makeHostObject(ChatCellData);
        setHostProperty(cellData, "message", makeMessage(item));
        cells.emplace_back(cellData);
    }
    auto* chat = objc::cast<UIViewController>(makeHostObject(ChatViewController));
    setHostProperty(chat, "cellDataList", NSArray::make(std::move(cells)));
    return UINavigationController::make(chat);
}

} // namespace

AppDescription whatsAppDescription() {
    return {"whatsapp",
            "net.whatsapp.WhatsApp",
            "a chat: one bubble per message, incoming left and outgoing right",
            {"chat", "message-N"},
            {ChatViewController, MessageContainerView, ChatCellData, Message, SystemMessage},
            {{MessageContainerView, "cellData"}, {ChatCellData, "message"}, {Message, "textToSpeak"}},
            ChatViewController,
            {"messages"},
            &registerClasses,
            &makeRootViewController};
}

} // namespace apps
