#include "LayoutPass.h"
#include "LayoutEngine.h"
#include "UIView.h"

namespace {

constexpr int MaximumRounds = 8;

bool anyNeedsLayout(const UIView* view) {
    if (view->needsLayout())
        return true;
    for (const auto& subview : view->subviews())
        if (anyNeedsLayout(subview.get()))
            return true;
    return false;
}

void layoutMarked(UIView* view) {
    objc::Ref<UIView> keep = view;
    if (view->needsLayout()) {
        view->clearNeedsLayout();
        sendLayoutSubviews(view);
    }
    // -layoutSubviews may change the subviews; walk a copy.
    auto subviews = view->subviews();
    for (const auto& subview : subviews)
        if (subview->superview() == view)
            layoutMarked(subview.get());
}

void markAll(UIView* view) {
    view->setNeedsLayout();
    for (const auto& subview : view->subviews())
        markAll(subview.get());
}

} // namespace

void layoutIfNeeded(UIView* root) {
    if (!root)
        return;
    for (int round = 0; round < MaximumRounds && anyNeedsLayout(root); ++round) {
        solveConstraints(root);
        layoutMarked(root);
    }
    solveConstraints(root);
}

void layoutEverything(UIView* root) {
    if (!root)
        return;
    solveConstraints(root);
    markAll(root);
    layoutMarked(root);
    // Constraints activated during the pass place their views before anyone looks.
    solveConstraints(root);
}
