// Which view a selector picks among those the user sees, and what a miss reports. Each
// case builds its window in a child process, as the key window belongs to the process.

#include "AppProcess.h"
#include "KeyWindow.h"

#include "sim/play/Selectors.h"

#include "uikit/UIButton.h"
#include "uikit/UITextView.h"
#include "uikit/UIWindow.h"

#include <gtest/gtest.h>

using namespace sim;

namespace {

ViewSelector selector(std::optional<std::string> id, std::optional<std::string> text = {},
                      std::optional<std::string> className = {}, std::optional<std::size_t> index = {}) {
    return {std::move(id), std::move(text), std::move(className), std::nullopt, index};
}

ViewSelector byText(std::string text) {
    return selector({}, std::move(text));
}

UILabel* addLabel(UIView* parent, const char* text, CGRect frame, const char* identifier = nullptr) {
    UILabel* label = UILabel::make(frame);
    label->setText(NSString::make(text));
    if (identifier)
        label->setAccessibilityIdentifier(identifier);
    parent->addSubview(label);
    return label;
}

// A 390 x 844 window whose root view shows: two labels "Hello" (back and front), a
// text view, a button titled "Done", and views the user cannot see: a label under a
// hidden container, a transparent one, one off the screen and one never placed.
UIWindow* makeWindow() {
    UIWindow* window = keyWindowWithRoot(plainController());
    UIView* view = window->rootViewController()->view();
    view->setAccessibilityIdentifier("root");

    addLabel(view, "Hello", CGRectMake(0, 100, 200, 20), "back");
    UITextView* textView = UITextView::make(CGRectMake(0, 140, 300, 60));
    textView->setText(NSString::make("Some text"));
    view->addSubview(textView);
    UIButton* button = UIButton::buttonWithType(UIButtonTypeSystem);
    button->setFrame(CGRectMake(300, 40, 80, 40));
    button->setTitle(NSString::make("Done"), UIControlStateNormal);
    view->addSubview(button);

    UIView* hidden = UIView::make(CGRectMake(0, 300, 390, 100));
    hidden->setHidden(true);
    addLabel(hidden, "Hidden", CGRectMake(0, 0, 100, 20));
    view->addSubview(hidden);
    addLabel(view, "Transparent", CGRectMake(0, 420, 100, 20))->setAlpha(0);
    addLabel(view, "Below", CGRectMake(0, 900, 100, 20));
    addLabel(view, "Nowhere", CGRectNull);

    // Inside an offset container, to the right of the front label: still on screen.
    UIView* container = UIView::make(CGRectMake(200, 100, 190, 40));
    addLabel(container, "Hello", CGRectMake(0, 0, 100, 20), "front");
    view->addSubview(container);
    return window;
}

} // namespace

TEST(Selectors, PickTheFrontMostMatchOrTheIndexedOneByTextIdentifierAndClass) {
    inChildProcess([] {
        UIWindow* window = makeWindow();
        EXPECT_EQ((*findShownView(window, byText("Hello")))->accessibilityIdentifier(), "front");
        EXPECT_EQ((*findShownView(window, selector({}, "Hello", {}, 0)))->accessibilityIdentifier(), "back");
        EXPECT_EQ(findShownView(window, selector({}, "Hello", {}, 2)).error(),
                  "{text: \"Hello\", index: 2} matches 2 views, so there is no index 2");
        EXPECT_TRUE(findShownView(window, selector("back", "Hello")));
        EXPECT_FALSE(findShownView(window, selector("back", "Hi"))) << "every given key must hold";

        EXPECT_TRUE(objc::dynCast<UITextView>(*findShownView(window, byText("Some text"))));
        EXPECT_TRUE(findShownView(window, selector({}, "Some text", "UIScrollView"))) << "subclasses match";
        EXPECT_FALSE(findShownView(window, selector({}, {}, "NoSuchClass")));
        // A button's current title is its text; the title label over it is part of it.
        auto button = findShownView(window, byText("Done"));
        ASSERT_TRUE(button);
        EXPECT_TRUE(objc::dynCast<UIButton>(*button));
        EXPECT_FALSE(findShownView(window, selector({}, "Done", "UILabel")));
    });
}

TEST(Selectors, SeeNeitherHiddenNorTransparentNorOffScreenViewsAndSayWhatIsShown) {
    inChildProcess([] {
        UIWindow* window = makeWindow();
        for (const char* unseen : {"Hidden", "Transparent", "Below", "Nowhere"})
            EXPECT_FALSE(findShownView(window, byText(unseen))) << unseen;

        UIView* root = window->rootViewController()->view();
        root->subviews()[5]->setFrame(CGRectMake(0, 840, 100, 20));
        EXPECT_TRUE(findShownView(window, byText("Below"))) << "partly on screen is on screen";

        for (int i = 0; i < 45; ++i)
            addLabel(root, "A long message that runs past what a summary shows of it",
                     CGRectMake(0, 500, 9, 9));
        std::string summary = onScreenSummary(window);
        EXPECT_NE(summary.find("UILabel \"A long message that runs past what a sum\"…"), std::string::npos);
        EXPECT_TRUE(summary.ends_with(", and 11 more")) << summary;
    });
}

TEST(Selectors, PresentedControllersViewsComeInFrontOfTheRoot) {
    inChildProcess([] {
        UIWindow* window = makeWindow();
        auto* sheet = plainController();
        window->rootViewController()->present(sheet, false, {});
        addLabel(sheet->view(), "Hello", CGRectMake(0, 0, 100, 20), "sheet");
        EXPECT_EQ((*findShownView(window, byText("Hello")))->accessibilityIdentifier(), "sheet");
        EXPECT_EQ(shownViews(window).back()->accessibilityIdentifier(), "sheet");
    });
}
