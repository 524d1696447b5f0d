#include "sim/report/ViewTreeJson.h"
#include "sim/play/PresentationLog.h"
#include "sim/play/PresentedControllers.h"

#include "uikit/UIButton.h"
#include "uikit/UIImageView.h"
#include "uikit/UILongPressGestureRecognizer.h"
#include "uikit/UITapGestureRecognizer.h"
#include "uikit/UITextView.h"
#include "uikit/UIWindow.h"

#include <cmath>
#include <cstdint>

namespace sim {

namespace {

// Whole numbers read as such ("frame": [5, 5, 290, 40]), others as they are.
Json number(double value) {
    if (std::isfinite(value) && std::trunc(value) == value && std::fabs(value) < 9007199254740992.0)
        return static_cast<std::int64_t>(value);
    return value;
}

Json color(const std::array<double, 4>& rgba) {
    return Json::array({rgba[0], rgba[1], rgba[2], rgba[3]});
}

Json color(UIColor* value) {
    return value ? color(value->components()) : Json();
}

Json color(CGColor* value) {
    return value ? color(value->components()) : Json();
}

Json className(id object) {
    return object ? Json(object_getClassName(object)) : Json();
}

// The injected library that made a view or controller, null for the app's and UIKit's own.
Json madeBy(const UIResponder* responder) {
    return responder->madeBy().empty() ? Json() : Json(responder->madeBy());
}

Json text(NSString* string) {
    return string ? Json(string->utf8()) : Json();
}

Json frameJson(const UIView* view) {
    CGRect frame = view->frameInWindow();
    for (double value : {frame.origin.x, frame.origin.y, frame.size.width, frame.size.height})
        if (!std::isfinite(value))
            return nullptr;
    return Json::array({number(frame.origin.x), number(frame.origin.y), number(frame.size.width),
                        number(frame.size.height)});
}

Json layerJson(const CALayer* layer) {
    return {{"cornerRadius", number(layer->cornerRadius())},
            {"maskedCorners", layer->maskedCorners()},
            {"borderWidth", number(layer->borderWidth())},
            {"backgroundColor", color(layer->backgroundColor())},
            {"hasContents", layer->contents() != nullptr}};
}

Json gestureJson(UIGestureRecognizer* recognizer) {
    auto* tap = objc::dynCast<UITapGestureRecognizer>(recognizer);
    auto* press = objc::dynCast<UILongPressGestureRecognizer>(recognizer);
    return {{"class", object_getClassName(recognizer)},
            {"taps", tap ? Json(tap->numberOfTapsRequired()) : Json()},
            {"touches", recognizer->numberOfTouchesRequired()},
            {"minimumPressDuration", press ? Json(press->minimumPressDuration()) : Json()},
            {"target", className(recognizer->target())},
            {"action", recognizer->action() ? Json(sel_getName(recognizer->action())) : Json()},
            {"delegate", className(recognizer->delegate())}};
}

Json actionsJson(UIView* view) {
    auto* control = objc::dynCast<UIControl>(view);
    if (!control)
        return nullptr;
    Json actions = Json::array();
    for (const auto& entry : control->targetActions())
        actions.push_back({{"target", className(entry.target.get())},
                           {"action", sel_getName(entry.action)},
                           {"events", entry.events}});
    return actions;
}

// The keys of the text a view shows, filled in for labels and text views.
void addText(Json& json, UIView* view) {
    for (const char* key : {"text", "font", "textColor", "textAlignment", "editable"})
        json[key] = nullptr;
    if (auto* label = objc::dynCast<UILabel>(view)) {
        json["text"] = text(label->text());
        json["font"] = number(label->font()->pointSize());
        json["textColor"] = color(label->textColor());
        json["textAlignment"] = label->textAlignment();
    } else if (auto* textView = objc::dynCast<UITextView>(view)) {
        json["text"] = text(textView->text());
        json["font"] = number(textView->font()->pointSize());
        json["textColor"] = color(textView->textColor());
        json["textAlignment"] = textView->textAlignment();
        json["editable"] = textView->isEditable();
    }
}

Json treeOf(UIViewController* controller) {
    // Looking must not load a view: that would run the controller's viewDidLoad.
    return controller && controller->isViewLoaded() ? viewJson(controller->view()) : Json();
}

} // namespace

Json viewJson(UIView* view) {
    Json json = {{"class", object_getClassName(view)}};
    json["madeBy"] = madeBy(view);
    json["id"] = view->accessibilityIdentifier() ? Json(*view->accessibilityIdentifier()) : Json();
    json["frame"] = frameJson(view);
    json["hidden"] = view->isHidden();
    json["backgroundColor"] = color(view->backgroundColor());
    json["clipsToBounds"] = view->clipsToBounds();
    json["translatesAutoresizingMaskIntoConstraints"] = view->translatesAutoresizingMaskIntoConstraints();
    json["autoresizingMask"] = view->autoresizingMask();
    json["layer"] = layerJson(view->layer());
    addText(json, view);
    auto* button = objc::dynCast<UIButton>(view);
    json["title"] = button ? text(button->currentTitle()) : Json();
    json["titleColor"] = button ? color(button->currentTitleColor()) : Json();
    auto* imageView = objc::dynCast<UIImageView>(view);
    json["image"] = imageView && imageView->image() ? Json(imageView->image()->path()) : Json();
    json["actions"] = actionsJson(view);
    json["gestures"] = Json::array();
    for (const auto& recognizer : view->gestureRecognizers())
        json["gestures"].push_back(gestureJson(recognizer.get()));
    json["subviews"] = Json::array();
    for (const auto& subview : view->subviews())
        json["subviews"].push_back(viewJson(subview.get()));
    return json;
}

Json windowJson(UIWindow* window) {
    if (!window)
        return nullptr;
    UIViewController* root = window->rootViewController();
    return {{"rootViewController", className(root)}, {"tree", treeOf(root)}};
}

Json presentedJson(UIWindow* window) {
    Json presented = Json::array();
    for (UIViewController* controller : presentedControllers(window)) {
        // A presentation the log did not hear of is named by UIKit's own answer.
        const PresentationLog::Presentation* heard = PresentationLog::shared().find(controller);
        presented.push_back(
            {{"presenter", heard ? Json(heard->sentTo) : className(controller->presentingViewController())},
             {"controller", object_getClassName(controller)},
             {"madeBy", madeBy(controller)},
             {"animated", heard ? Json(heard->animated) : Json(nullptr)},
             {"tree", treeOf(controller)}});
    }
    return presented;
}

} // namespace sim
