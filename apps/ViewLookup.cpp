#include "ViewLookup.h"

#include "uikit/UIView.h"

namespace apps {

UIView* findView(UIView* root, std::string_view identifier) {
    if (!root)
        return nullptr;
    if (root->accessibilityIdentifier() == identifier)
        return root;
    for (const auto& subview : root->subviews())
        if (UIView* found = findView(subview.get(), identifier))
            return found;
    return nullptr;
}

} // namespace apps
