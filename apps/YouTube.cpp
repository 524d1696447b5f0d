// YouTube: a watch page. Under the player, the engagement panel lists the comments,
// each a YTFormattedStringLabel whose attributed text the app styles with
// applyTypeStyle when it configures the label and again on every layout.

#include "ContentItems.h"
#include "HexColor.h"
#include "HostApps.h"
#include "HostClass.h"
#include "Label.h"
#include "NavigationBar.h"

#include "foundation/NSArray.h"
#include "foundation/NSAttributedString.h"
#include "foundation/NSString.h"
#include "uikit/TextSystem.h"
#include "uikit/UIButton.h"
#include "uikit/UILabel.h"
#include "uikit/UIViewController.h"

namespace apps {

namespace {

using nlohmann::json;
using objc::send;

constexpr const char* WatchViewController = "YTWatchViewController";
constexpr const char* EngagementPanelViewController = "YTEngagementPanelViewController";
constexpr const char* FormattedStringLabel = "YTFormattedStringLabel";
constexpr const char* CommentViewModel = "YTCommentViewModel";

constexpr double CommentFontSize = 14;
constexpr double PanelHeaderHeight = 52;
constexpr double AvatarSize = 32;
constexpr double CommentInset = 16 + AvatarSize + 12;

// Comment authors' avatar colours, in turn.
constexpr unsigned AvatarColors[] = {0x7E57C2, 0x26A69A, 0xEF6C00, 0x5C6BC0, 0xEC407A};

UIView* makeComment(id model, std::size_t index, double width, double& y) {
    double textWidth = width - CommentInset - 16;
    id contentText = hostProperty(model, "contentText");
    double height = std::max(
        AvatarSize,
        measuredTextSize(utf8Of(send<id>(contentText, "string")), CommentFontSize, textWidth).height);

    UIView* row = UIView::make(CGRectMake(0, y, width, height));
    row->setAutoresizingMask(UIViewAutoresizingFlexibleWidth);
    UIView* avatar = UIView::make(CGRectMake(16, 0, AvatarSize, AvatarSize));
    avatar->setBackgroundColor(hexColor(AvatarColors[(index - 1) % std::size(AvatarColors)]));
    avatar->layer()->setCornerRadius(AvatarSize / 2);
    row->addSubview(avatar);

    auto* label = objc::cast<UILabel>(makeHostObject(FormattedStringLabel));
    label->setFrame(CGRectMake(CommentInset, 0, textWidth, height));
    label->setAutoresizingMask(UIViewAutoresizingFlexibleWidth);
    label->setAccessibilityIdentifier("comment-" + std::to_string(index));
    label->setUserInteractionEnabled(true);
    send(label, "setNumberOfLines:", 0L);
    send(label, "setAttributedText:", contentText);
    send(label, "applyTypeStyle");
    row->addSubview(label);

    y += height + 18;
    return row;
}

// -[YTEngagementPanelViewController viewDidLoad]: the panel's header with its close
// button, then the comments.
void panelViewDidLoad(id self, SEL) {
    objc::sendSuper(self, hostClass(EngagementPanelViewController), "viewDidLoad");
    UIView* view = objc::cast<UIViewController>(self)->view();
    view->setAccessibilityIdentifier("engagement-panel");
    view->setBackgroundColor(UIColor::whiteColor());
    view->layer()->setCornerRadius(12);
    view->layer()->setMaskedCorners(1 | 2); // the top corners
    double width = view->bounds().size.width;

    UIView* grabber = UIView::make(CGRectMake((width - 36) / 2, 6, 36, 4));
    grabber->setBackgroundColor(hexColor(0xCCCCCC));
    grabber->layer()->setCornerRadius(2);
    grabber->setAutoresizingMask(UIViewAutoresizingFlexibleLeftMargin |
                                 UIViewAutoresizingFlexibleRightMargin);
    view->addSubview(grabber);
    view->addSubview(makeLabel("Comments", CGRectMake(16, 14, 200, 28), 18, hexColor(0x0F0F0F)));

    id close = send<id>(objc_getClass("UIButton"), "buttonWithType:", 0L);
    auto* closeButton = objc::cast<UIView>(close);
    closeButton->setFrame(CGRectMake(width - 52, 8, 40, 40));
    closeButton->setAutoresizingMask(UIViewAutoresizingFlexibleLeftMargin);
    closeButton->setAccessibilityIdentifier("engagement-panel-close");
    send(close, "setTitle:forState:", NSString::make("✕"), 0UL);
    send(close, "setTitleColor:forState:", hexColor(0x0F0F0F), 0UL);
    send(close, "addTarget:action:forControlEvents:", self, sel_registerName("didTapCloseButton"),
         static_cast<unsigned long>(UIControlEventTouchUpInside));
    view->addSubview(closeButton);

    UIView* separator = UIView::make(CGRectMake(0, PanelHeaderHeight, width, 1));
    separator->setBackgroundColor(hexColor(0xE5E5E5));
    separator->setAutoresizingMask(UIViewAutoresizingFlexibleWidth);
    view->addSubview(separator);

    double y = PanelHeaderHeight + 16;
    std::size_t index = 0;
    if (auto* comments = objc::cast<NSArray>(hostProperty(self, "comments")))
        for (const auto& model : *comments)
            view->addSubview(makeComment(model.get(), ++index, width, y));
}

// -[YTEngagementPanelViewController didTapCloseButton]: the panel goes away.
void panelDidTapCloseButton(id self, SEL) {
    objc::cast<UIViewController>(self)->view()->setHidden(true);
}

// -[YTFormattedStringLabel setAttributedText:]: the label keeps the formatted string
// it was given (nil included) and shows its characters.
void labelSetAttributedText(id self, SEL, id attributedText) {
    setHostProperty(self, "attributedText", attributedText);
    send(self, "setText:", send<id>(attributedText, "string"));
}

// -[YTFormattedStringLabel applyTypeStyle]: the comment's type style.
void labelApplyTypeStyle(id self, SEL) {
    send(self, "setFont:", UIFont::systemFontOfSize(CommentFontSize));
    send(self, "setTextColor:", hexColor(0x0F0F0F));
}

// -[YTFormattedStringLabel layoutSubviews]: the style follows every layout.
void labelLayoutSubviews(id self, SEL) {
    objc::sendSuper(self, hostClass(FormattedStringLabel), "layoutSubviews");
    send(self, "applyTypeStyle");
}

// -[YTWatchViewController viewDidLoad]: the player and the video's title, with the
// engagement panel filling the rest of the screen.
void watchViewDidLoad(id self, SEL) {
    objc::sendSuper(self, hostClass(WatchViewController), "viewDidLoad");
    UIView* view = objc::cast<UIViewController>(self)->view();
    view->setAccessibilityIdentifier("watch");
    view->setBackgroundColor(UIColor::whiteColor());
    CGRect bounds = view->bounds();
    double width = bounds.size.width;

    double playerHeight = std::round(width * 9 / 16);
    UIView* player = UIView::make(CGRectMake(0, 0, width, StatusBarHeight + playerHeight));
    player->setBackgroundColor(UIColor::blackColor());
    player->setAutoresizingMask(UIViewAutoresizingFlexibleWidth);
    player->addSubview(makeLabel("▶", CGRectMake(0, StatusBarHeight, width, playerHeight), 40,
                                 UIColor::whiteColor(), NSTextAlignmentCenter));
    UIView* progress = UIView::make(CGRectMake(0, StatusBarHeight + playerHeight - 3, width * 0.3, 3));
    progress->setBackgroundColor(hexColor(0xFF0000));
    player->addSubview(progress);
    view->addSubview(player);

    double titleTop = player->frame().maxY() + 12;
    view->addSubview(
        makeLabel("Live session", CGRectMake(12, titleTop, width - 24, 24), 18, hexColor(0x0F0F0F)));
    view->addSubview(
        makeLabel("1.2M views", CGRectMake(12, titleTop + 26, width - 24, 18), 12, hexColor(0x606060)));

    auto* panel = objc::cast<UIViewController>(hostProperty(self, "engagementPanelController"));
    if (!panel)
        return;
    objc::cast<UIViewController>(self)->addChildViewController(panel);
    double panelTop = titleTop + 56;
    UIView* panelView = panel->view();
    panelView->setFrame(CGRectMake(0, panelTop, width, bounds.size.height - panelTop));
    panelView->setAutoresizingMask(UIViewAutoresizingFlexibleWidth | UIViewAutoresizingFlexibleHeight);
    view->addSubview(panelView);
}

void registerClasses() {
    static const bool registered = [] {
        declareHostClass(CommentViewModel, NSObject::staticClass(), {"contentText"});
        Class label = declareHostClass(FormattedStringLabel, UILabel::staticClass(), {"attributedText"});
        objc::addMethod(label, "setAttributedText:", &labelSetAttributedText);
        objc::addMethod(label, "applyTypeStyle", &labelApplyTypeStyle);
        objc::addMethod(label, "layoutSubviews", &labelLayoutSubviews);
        Class panel =
            declareHostClass(EngagementPanelViewController, UIViewController::staticClass(), {"comments"});
        objc::addMethod(panel, "viewDidLoad", &panelViewDidLoad);
        objc::addMethod(panel, "didTapCloseButton", &panelDidTapCloseButton);
        Class watch = declareHostClass(WatchViewController, UIViewController::staticClass(),
                                       {"engagementPanelController"});
        objc::addMethod(watch, "viewDidLoad", &watchViewDidLoad);
        return true;
    }();
    (void)registered;
}

UIViewController* makeRootViewController(const json& content) {
    std::vector<objc::Ref<objc::Object>> comments;
    for (const auto& item : contentList(content, "comments")) {
        id model = makeHostObject(CommentViewModel);
        auto text = itemText(item);
        setHostProperty(model, "contentText", text ? NSAttributedString::make(*text) : nullptr);
        comments.emplace_back(model);
    }
    id panel = makeHostObject(EngagementPanelViewController);
    setHostProperty(panel, "comments", NSArray::make(std::move(comments)));
    auto* watch = objc::cast<UIViewController>(makeHostObject(WatchViewController));
    setHostProperty(watch, "engagementPanelController", panel);
    return watch;
}

} // namespace

AppDescription youTubeDescription() {
    return {"youtube",
            "com.google.ios.youtube",
            "a watch page: the player, and under it the engagement panel with its close button and one "
            "label per comment",
            {"watch", "engagement-panel", "engagement-panel-close", "comment-N"},
            {WatchViewController, EngagementPanelViewController, FormattedStringLabel, CommentViewModel},
            {{FormattedStringLabel, "attributedText"}, {"NSAttributedString", "string"}},
            EngagementPanelViewController,
            {"comments"},
            &registerClasses,
            &makeRootViewController};
}

} // namespace apps
