// The view trees of snapshots: every key of a view, and frames in the window's
// coordinates. Each case builds its window in a child process.

#include "AppProcess.h"
#include "KeyWindow.h"

#include "sim/report/ViewTreeJson.h"

#include "uikit/UIImageView.h"
#include "uikit/UILabel.h"
#include "uikit/UILongPressGestureRecognizer.h"
#include "uikit/UITapGestureRecognizer.h"
#include "uikit/UIWindow.h"

#include <gtest/gtest.h>

using namespace sim;

namespace {

UIWindow* makeWindow() {
    UIWindow* window = keyWindowWithRoot(plainController());
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

        Json expected =
            Json::parse(R"({"class": "UILabel", "madeBy": null, "id": "title", "frame": [30, 70, 100, 20.5],
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

// Buttons, text views and layers are read as the host table and the panel flows show them.
TEST(ViewTreeJson, RecognisersLayerContentsAndUnplacedViews) {
    inChildProcess([] {
        UIWindow* window = makeWindow();
        UIViewController* controller = window->rootViewController();
        UIView* root = controller->view();
        root->layer()->setContents(NSString::make("contents"));
        auto* doubleTap = addRecognizer<UITapGestureRecognizer>(root, controller, "copyText:");
        doubleTap->setNumberOfTapsRequired(2);
        doubleTap->setDelegate(root);
        addRecognizer<UILongPressGestureRecognizer>(root, nullptr, "pressed")->setMinimumPressDuration(0.4);
        UIView* unplaced = UIView::make(CGRectNull);
        unplaced->addSubview(UIImageView::make(nullptr));
        root->addSubview(unplaced);

        Json tree = windowJson(window);
        EXPECT_EQ(tree["rootViewController"], "UIViewController");
        const Json& view = tree["tree"];
        EXPECT_EQ(view["layer"]["hasContents"], true);
        EXPECT_EQ(view["gestures"], Json::parse(R"([
            {"class": "UITapGestureRecognizer", "taps": 2, "touches": 1, "minimumPressDuration": null,
             "target": "UIViewController", "action": "copyText:", "delegate": "UIView"},
            {"class": "UILongPressGestureRecognizer", "taps": null, "touches": 1, "minimumPressDuration": 0.4,
             "target": null, "action": "pressed", "delegate": null}])"));
        EXPECT_EQ(view["actions"], nullptr) << "a plain view has no control actions";
        EXPECT_EQ(view["subviews"][0]["frame"], nullptr);
        EXPECT_EQ(view["subviews"][0]["subviews"][0]["frame"], nullptr)
            << "inside an unplaced view is nowhere";
    });
}
