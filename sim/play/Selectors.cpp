#include "sim/play/Selectors.h"
#include "sim/render/ButtonTitleLabel.h"
#include "sim/report/Report.h"

#include "uikit/UIButton.h"
#include "uikit/UITextView.h"
#include "uikit/UIWindow.h"

#include <cmath>

namespace sim {

namespace {

// Enough of a long list of views or a long text to tell where the flow went wrong.
constexpr std::size_t SummarisedViews = 40;
constexpr std::size_t SummarisedCharacters = 40;

// A button's title label is part of the button, as accessibility presents a button as
// one element: "Done" names the button, which takes the touch, not the label over it.
bool isButtonTitle(UIView* view) {
    auto* button = objc::dynCast<UIButton>(view->superview());
    return button && buttonTitleLabel(button) == view;
}

void collectShown(UIView* view, const UIWindow* window, std::vector<UIView*>& out) {
    // What a hidden or transparent view holds is not seen either.
    if (view->isHidden() || view->alpha() <= 0.01)
        return;
    if (isShown(view, window) && !isButtonTitle(view))
        out.push_back(view);
    for (const auto& subview : view->subviews())
        collectShown(subview.get(), window, out);
}

std::string shortened(const std::string& text) {
    std::size_t end = 0;
    for (std::size_t characters = 0; end < text.size() && characters < SummarisedCharacters; ++characters) {
        ++end;
        while (end < text.size() && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80)
            ++end;
    }
    return end < text.size() ? jsonText(Json(text.substr(0, end))) + "…" : jsonText(Json(text));
}

} // namespace

std::optional<std::string> visibleText(UIView* view) {
    if (auto* label = objc::dynCast<UILabel>(view))
        return label->text() ? std::optional(label->text()->utf8()) : std::nullopt;
    if (auto* textView = objc::dynCast<UITextView>(view))
        return textView->text()->utf8();
    if (auto* button = objc::dynCast<UIButton>(view))
        return button->currentTitle() ? std::optional(button->currentTitle()->utf8()) : std::nullopt;
    return std::nullopt;
}

bool isShown(UIView* view, const UIWindow* window) {
    if (!window || view->window() != window)
        return false;
    for (const UIView* v = view; v; v = v->superview())
        if (v->isHidden() || v->alpha() <= 0.01)
            return false;
    CGRect frame = view->frameInWindow();
    CGRect screen = window->bounds();
    double width = std::min(frame.maxX(), screen.maxX()) - std::max(frame.minX(), screen.minX());
    double height = std::min(frame.maxY(), screen.maxY()) - std::max(frame.minY(), screen.minY());
    // A frame the layout never placed (null, infinite) is nowhere on screen.
    return std::isfinite(width) && std::isfinite(height) && width > 0 && height > 0;
}

std::vector<UIView*> shownViews(UIWindow* window) {
    std::vector<UIView*> views;
    if (!window)
        return views;
    for (const auto& subview : window->subviews())
        collectShown(subview.get(), window, views);
    return views;
}

bool matchesSelector(UIView* view, const ViewSelector& selector) {
    if (selector.id && view->accessibilityIdentifier() != selector.id)
        return false;
    if (selector.text && visibleText(view) != selector.text)
        return false;
    if (selector.className) {
        Class cls = objc_getClass(selector.className->c_str());
        if (!cls || !objc::isKindOfClass(view, cls))
            return false;
    }
    if (selector.madeBy && view->madeBy() != *selector.madeBy)
        return false;
    return true;
}

support::Expected<UIView*, std::string> findShownView(UIWindow* window, const ViewSelector& selector) {
    if (!window)
        return support::Unexpected(std::string("the app shows no window"));
    std::vector<UIView*> matches;
    for (UIView* view : shownViews(window))
        if (matchesSelector(view, selector))
            matches.push_back(view);
    if (matches.empty())
        return support::Unexpected("no view matches " + selector.description() +
                                   "; on screen: " + onScreenSummary(window));
    if (!selector.index)
        return matches.back();
    if (*selector.index >= matches.size())
        return support::Unexpected(selector.description() + " matches " + std::to_string(matches.size()) +
                                   (matches.size() == 1 ? " view" : " views") + ", so there is no index " +
                                   std::to_string(*selector.index));
    return matches[*selector.index];
}

std::string viewDescription(UIView* view) {
    std::string out = object_getClassName(view);
    if (const auto& identifier = view->accessibilityIdentifier())
        out += "#" + *identifier;
    if (auto text = visibleText(view))
        out += " " + shortened(*text);
    if (!view->madeBy().empty())
        out += " (made by " + view->madeBy() + ")";
    return out;
}

std::string onScreenSummary(UIWindow* window) {
    std::string out;
    std::size_t listed = 0, more = 0;
    for (UIView* view : shownViews(window)) {
        if (!view->accessibilityIdentifier() && !visibleText(view))
            continue;
        if (listed == SummarisedViews) {
            ++more;
            continue;
        }
        if (listed++)
            out += ", ";
        out += viewDescription(view);
    }
    if (more)
        out += ", and " + std::to_string(more) + " more";
    return out.empty() ? "nothing with an identifier or a text" : out;
}

} // namespace sim
