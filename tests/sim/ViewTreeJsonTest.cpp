// The view trees of snapshots: every key of a view, and frames in the window's
// coordinates. Each case builds its window in a child process.

#include "AppProcess.h"

#include "sim/report/ViewTreeJson.h"

#include "uikit/UIButton.h"
#include "uikit/UIImageView.h"
#include "uikit/UILongPressGestureRecognizer.h"
#include "uikit/UITapGestureRecognizer.h"
#include "uikit/UITextView.h"
#include "uikit/UIWindow.h"

#include <gtest/gtest.h>

using namespace sim;

namespace {

UIWindow* makeWindow() {
    UIWindow* window = UIWindow::make(CGRectMake(0, 0, 390, 844));
    window->setRootViewController(objc::make<UIViewController>(UIViewController::staticClass()));
    window->makeKeyAndVisible();
    window->rootViewController()->view()->setAccessibilityIdentifier("root");
    return window;
}

template <class Recognizer> Recognizer* addRecognizer(UIView* view, id target, const char* action) {
    auto* recognizer = objc::make<Recognizer>(Recognizer::staticClass());
    recognizer->setTargetAction(target, sel_registerName(action));
    view->addGestureRecognizer(recognizer);
    return recognizer;
}

} // namespace

TEST(ViewTreeJson, ALabelShowsEveryKeyInOrderWithItsFrameInTheWindow) {
    inChildProcess([] {
        UIWindow* window = makeWindow();
        UIView* container = UIView::make(CGRectMake(20, 60, 300, 100));
        UILabel* label = UILabel::make(CGRectMake(10, 10, 100, 20.5));
        label->setText(NSString::make("Hi"));
        label->setAccessibilityIdentifier("title");
        container->addSubview(label);
        window->rootViewController()->view()->addSubview(container);

        Json expected = Json::parse(R"({"class": "UILabel", "id": "title", "frame": [30, 70, 100, 20.5],
            "hidden": false, "backgroundColor": null, "clipsToBounds": false,
            "translatesAutoresizingMaskIntoConstraints": true, "autoresizingMask": 0,
            "layer": {"cornerRadius": 0, "maskedCorners": 15, "borderWidth": 0, "backgroundColor": null,
                      "hasContents": false},
            "text": "Hi", "font": 17, "textColor": [0, 0, 0, 1], "textAlignment": 0, "editable": null,
            "title": null, "titleColor": null, "image": null, "actions": null, "gestures": [],
            "subviews": []})");
        EXPECT_EQ(viewJson(label), expected) << viewJson(label).dump();
    });
}

TEST(ViewTreeJson, ControlsRecognisersLayersTextViewsAndUnplacedViews) {
    inChildProcess([] {
        UIWindow* window = makeWindow();
        UIViewController* controller = window->rootViewController();
        UIView* root = controller->view();
        root->layer()->setCornerRadius(7.5);
        root->layer()->setMaskedCorners(3);
        root->layer()->setBackgroundColor(CGColor::make(1, 0, 0, 0.5));
        root->layer()->setContents(NSString::make("contents"));
        auto* doubleTap = addRecognizer<UITapGestureRecognizer>(root, controller, "copyText:");
        doubleTap->setNumberOfTapsRequired(2);
        doubleTap->setDelegate(root);
        addRecognizer<UILongPressGestureRecognizer>(root, nullptr, "pressed")->setMinimumPressDuration(0.4);

        UIButton* button = UIButton::buttonWithType(UIButtonTypeSystem);
        button->setTitle(NSString::make("Done"), UIControlStateNormal);
        button->addTarget(controller, sel_registerName("close"), UIControlEventTouchUpInside);
        root->addSubview(button);
        UITextView* textView = UITextView::make(CGRectMake(0, 0, 100, 40));
        textView->setEditable(false);
        root->addSubview(textView);
        UIView* unplaced = UIView::make(CGRectNull);
        unplaced->addSubview(UIImageView::make(nullptr));
        root->addSubview(unplaced);

        Json tree = windowJson(window);
        EXPECT_EQ(tree["rootViewController"], "UIViewController");
        const Json& view = tree["tree"];
        EXPECT_EQ(view["id"], "root");
        EXPECT_EQ(view["layer"], Json::parse(R"({"cornerRadius": 7.5, "maskedCorners": 3, "borderWidth": 0,
            "backgroundColor": [1, 0, 0, 0.5], "hasContents": true})"));
        EXPECT_EQ(view["gestures"], Json::parse(R"([
            {"class": "UITapGestureRecognizer", "taps": 2, "touches": 1, "minimumPressDuration": null,
             "target": "UIViewController", "action": "copyText:", "delegate": "UIView"},
            {"class": "UILongPressGestureRecognizer", "taps": null, "touches": 1, "minimumPressDuration": 0.4,
             "target": null, "action": "pressed", "delegate": null}])"));
        EXPECT_EQ(view["actions"], nullptr) << "a plain view has no control actions";

        const Json& buttonJson = view["subviews"][0];
        EXPECT_EQ(buttonJson["title"], "Done");
        EXPECT_EQ(buttonJson["titleColor"], Json::array({0, 122.0 / 255, 1, 1}));
        EXPECT_EQ(buttonJson["actions"],
                  Json::parse(R"([{"target": "UIViewController", "action": "close", "events": 64}])"));
        EXPECT_EQ(buttonJson["subviews"][0]["text"], "Done");
        EXPECT_EQ(view["subviews"][1]["text"], "") << "a text view's text is never nil";
        EXPECT_EQ(view["subviews"][1]["editable"], false);
        EXPECT_EQ(view["subviews"][1]["textColor"], nullptr);
        EXPECT_EQ(view["subviews"][2]["frame"], nullptr);
        EXPECT_EQ(view["subviews"][2]["subviews"][0]["frame"], nullptr)
            << "inside an unplaced view is nowhere";
    });
}
