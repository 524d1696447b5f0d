// Instagram: the comments of a post. Each comment's text is drawn by an
// IGCoreTextView, which keeps it in its text property.

#include "ContentItems.h"
#include "HexColor.h"
#include "HostApps.h"
#include "HostClass.h"
#include "Label.h"
#include "NavigationBar.h"

#include "foundation/NSArray.h"
#include "foundation/NSString.h"
#include "uikit/TextSystem.h"
#include "uikit/UILabel.h"
#include "uikit/UINavigationController.h"

#include <algorithm>

namespace apps {

namespace {

using nlohmann::json;
using objc::send;

constexpr const char* CommentThreadViewController = "IGCommentThreadViewController";
constexpr const char* CoreTextView = "IGCoreTextView";
constexpr const char* Comment = "IGComment";

constexpr double CommentFontSize = 14;
constexpr double AvatarSize = 32;
constexpr double CommentInset = 16 + AvatarSize + 12;
constexpr double ComposerHeight = 56;
constexpr double HomeIndicatorHeight = 34;

// The avatars' colours, in turn.
constexpr unsigned AvatarColors[] = {0xC13584, 0xF56040, 0x833AB4, 0xFCAF45, 0x405DE6};

// Adds one comment (its author's avatar and its text) to the thread at height y.
void addComment(UIView* thread, id comment, std::size_t index, double& y) {
    double width = thread->bounds().size.width;
    double textWidth = width - CommentInset - 16;
    id text = send<id>(comment, "text");
    double height = std::max(AvatarSize, measuredTextSize(utf8Of(text), CommentFontSize, textWidth).height);

    UIView* avatar = UIView::make(CGRectMake(16, y, AvatarSize, AvatarSize));
    avatar->setBackgroundColor(hexColor(AvatarColors[(index - 1) % std::size(AvatarColors)]));
    avatar->layer()->setCornerRadius(AvatarSize / 2);
    thread->addSubview(avatar);

    auto* textView = objc::cast<UIView>(makeHostObject(CoreTextView));
    textView->setFrame(CGRectMake(CommentInset, y, textWidth, height));
    textView->setAutoresizingMask(UIViewAutoresizingFlexibleWidth);
    textView->setAccessibilityIdentifier("comment-" + std::to_string(index));
    setHostProperty(textView, "text", text);
    UILabel* label = makeLabel(utf8Of(text), textView->bounds(), CommentFontSize, hexColor(0x262626));
    textView->addSubview(label);
    setHostProperty(textView, "textLabel", label);
    thread->addSubview(textView);

    y += height + 20;
}

// The field at the bottom of the thread where the user would write a comment.
UIView* makeComposer(CGRect threadBounds) {
    double width = threadBounds.size.width;
    UIView* composer = UIView::make(CGRectMake(
        0, threadBounds.size.height - HomeIndicatorHeight - ComposerHeight, width, ComposerHeight));
    composer->setBackgroundColor(UIColor::whiteColor());
    composer->setAutoresizingMask(UIViewAutoresizingFlexibleWidth | UIViewAutoresizingFlexibleTopMargin);
    UIView* field = UIView::make(CGRectMake(16, 8, width - 32, 40));
    field->setAutoresizingMask(UIViewAutoresizingFlexibleWidth);
    field->layer()->setCornerRadius(20);
    field->layer()->setBorderWidth(1);
    field->layer()->setBorderColor(hexColor(0xDBDBDB)->CGColorValue());
    field->addSubview(makeLabel("Add a comment…", CGRectMake(16, 0, width - 64, 40), 14, hexColor(0x8E8E8E)));
    composer->addSubview(field);
    return composer;
}

// -[IGCommentThreadViewController viewDidLoad]: the comments, then the composer.
void threadViewDidLoad(id self, SEL) {
    objc::sendSuper(self, hostClass(CommentThreadViewController), "viewDidLoad");
    UIView* view = objc::cast<UIViewController>(self)->view();
    view->setAccessibilityIdentifier("comments");
    view->setBackgroundColor(UIColor::whiteColor());
    view->addSubview(
        makeNavigationBar(view->bounds().size.width, "Comments", UIColor::whiteColor(), hexColor(0x262626)));

    double y = NavigationBarBottom + 16;
    std::size_t index = 0;
    if (auto* comments = objc::cast<NSArray>(hostProperty(self, "comments")))
        for (const auto& comment : *comments)
            addComment(view, comment.get(), ++index, y);
    view->addSubview(makeComposer(view->bounds()));
}

// -[IGCoreTextView layoutSubviews]: the drawn text fills the view.
void coreTextViewLayoutSubviews(id self, SEL) {
    objc::sendSuper(self, hostClass(CoreTextView), "layoutSubviews");
    if (auto* label = objc::cast<UIView>(hostProperty(self, "textLabel")))
        label->setFrame(objc::cast<UIView>(self)->bounds());
}

void registerClasses() {
    static const bool registered = [] {
        declareHostClass(Comment, NSObject::staticClass(), {"text"});
        Class textView = declareHostClass(CoreTextView, UIView::staticClass(), {"text", "textLabel"});
        objc::addMethod(textView, "layoutSubviews", &coreTextViewLayoutSubviews);
        Class thread =
            declareHostClass(CommentThreadViewController, UIViewController::staticClass(), {"comments"});
        objc::addMethod(thread, "viewDidLoad", &threadViewDidLoad);
        return true;
    }();
    (void)registered;
}

UIViewController* makeRootViewController(const json& content) {
    std::vector<objc::Ref<objc::Object>> comments;
    for (const auto& item : contentList(content, "comments")) {
        id comment = makeHostObject(Comment);
        auto text = itemText(item);
        setHostProperty(comment, "text", text ? NSString::make(*text) : nullptr);
        comments.emplace_back(comment);
    }
    auto* thread = objc::cast<UIViewController>(makeHostObject(CommentThreadViewController));
    setHostProperty(thread, "comments", NSArray::make(std::move(comments)));
    return UITabBarController::make({UINavigationController::make(thread)});
}

} // namespace

AppDescription instagramDescription() {
    return {"instagram",
            "com.burbn.instagram",
            "the comments of a post: an avatar and the text of each comment, and the field to add one",
            {"comments", "comment-N"},
            {CommentThreadViewController, CoreTextView, Comment},
            {{CoreTextView, "text"}},
            CommentThreadViewController,
            {"comments"},
            &registerClasses,
            &makeRootViewController};
}

} // namespace apps
