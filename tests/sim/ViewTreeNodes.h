#pragma once

#include "Simulator.h"

#include <stdexcept>
#include <vector>

// The nodes of a reported view tree with their superviews, depth first, back to front.
class ViewTreeNodes {
public:
    struct Node {
        const Json* view;
        const Json* superview;
    };

    explicit ViewTreeNodes(const Json& tree) { collect(tree, nullptr); }

    const std::vector<Node>& nodes() const { return nodes_; }

    const Json& byId(const std::string& id) const {
        return find([&](const Json& view) { return view["id"] == id; }, "no view " + id);
    }
    // The n-th view of a class in tree order.
    const Json& nth(const std::string& cls, std::size_t n = 0) const {
        return find([&](const Json& view) { return view["class"] == cls && n-- == 0; }, "no " + cls);
    }
    const Json& withText(const std::string& cls, const std::string& text) const {
        return find([&](const Json& view) { return view["class"] == cls && view["text"] == text; },
                    "no " + cls + " showing " + text);
    }

private:
    void collect(const Json& view, const Json* superview) {
        nodes_.push_back({&view, superview});
        for (const auto& subview : view["subviews"])
            collect(subview, &view);
    }

    template <typename Matches> const Json& find(Matches matches, const std::string& failure) const {
        for (const Node& node : nodes_)
            if (matches(*node.view))
                return *node.view;
        throw std::runtime_error(failure);
    }

    std::vector<Node> nodes_;
};
