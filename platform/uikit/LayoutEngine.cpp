#include "LayoutEngine.h"
#include "NSLayoutConstraint.h"
#include "UIView.h"

#include "device/Instruments.h"

#include <array>
#include <cmath>
#include <map>
#include <optional>
#include <unordered_map>
#include <unordered_set>

namespace {

enum Edge { MinX, MaxX, MinY, MaxY };

struct Term {
    UIView* view;
    Edge edge;
    double coefficient;
};

// The edges whose combination is an attribute's value.
std::vector<Term> termsOf(UIView* view, NSLayoutAttribute attribute, double sign) {
    switch (attribute) {
    case NSLayoutAttribute::Left:
    case NSLayoutAttribute::Leading:
        return {{view, MinX, sign}};
    case NSLayoutAttribute::Right:
    case NSLayoutAttribute::Trailing:
        return {{view, MaxX, sign}};
    case NSLayoutAttribute::Top:
        return {{view, MinY, sign}};
    case NSLayoutAttribute::Bottom:
        return {{view, MaxY, sign}};
    case NSLayoutAttribute::CenterX:
        return {{view, MinX, sign / 2}, {view, MaxX, sign / 2}};
    case NSLayoutAttribute::CenterY:
        return {{view, MinY, sign / 2}, {view, MaxY, sign / 2}};
    case NSLayoutAttribute::Width:
        return {{view, MaxX, sign}, {view, MinX, -sign}};
    case NSLayoutAttribute::Height:
        return {{view, MaxY, sign}, {view, MinY, -sign}};
    }
    return {};
}

// sum(terms) = constant
struct Equation {
    std::vector<Term> terms;
    double constant;
    NSLayoutConstraint* constraint;
};

class Solver {
public:
    explicit Solver(UIView* root) : root_(root) {}

    void collect(UIView* view) {
        for (const auto& constraint : view->constraints()) {
            Equation equation{termsOf(constraint->firstItem(), constraint->firstAttribute(), 1),
                              constraint->constant(), constraint.get()};
            if (constraint->secondItem()) {
                auto second = termsOf(constraint->secondItem(), constraint->secondAttribute(), -1);
                equation.terms.insert(equation.terms.end(), second.begin(), second.end());
            }
            for (const auto& term : equation.terms)
                if (!term.view->translatesAutoresizingMaskIntoConstraints())
                    constrained_.insert(term.view);
            equations_.push_back(std::move(equation));
        }
        for (const auto& subview : view->subviews())
            collect(subview.get());
    }

    void solve() {
        bool progress = true;
        std::vector<bool> done(equations_.size(), false);
        while (progress) {
            progress = false;
            for (std::size_t i = 0; i < equations_.size(); ++i) {
                if (done[i])
                    continue;
                const Equation& equation = equations_[i];
                double knownSum = 0;
                std::optional<Term> unknown;
                int unknownCount = 0;
                for (const auto& term : equation.terms) {
                    if (auto value = edgeValue(term.view, term.edge)) {
                        knownSum += term.coefficient * *value;
                    } else if (unknown && unknown->view == term.view && unknown->edge == term.edge) {
                        unknown->coefficient += term.coefficient;
                    } else {
                        unknown = term;
                        ++unknownCount;
                    }
                }
                if (unknownCount > 1)
                    continue;
                done[i] = true;
                progress = true;
                if (unknownCount == 0 || std::abs(unknown->coefficient) < 1e-12) {
                    if (std::abs(knownSum - equation.constant) > 1e-6)
                        device::Instruments::shared().log("Unable to simultaneously satisfy constraints. "
                                                          "Will attempt to recover by breaking "
                                                          "constraint on " +
                                                          equation.constraint->firstItem()->isa()->name);
                    continue;
                }
                solved_[unknown->view][unknown->edge] = (equation.constant - knownSum) / unknown->coefficient;
            }
        }
    }

    // Gives each fully solved view its frame, parents before children so that a frame is
    // always relative to a superview that is already placed.
    void apply(UIView* view) {
        if (view != root_ && constrained_.count(view)) {
            auto it = solved_.find(view);
            if (it != solved_.end() &&
                std::all_of(it->second.begin(), it->second.end(), [](auto& e) { return e.has_value(); })) {
                auto origin = absoluteOrigin(view->superview());
                if (origin) {
                    auto& e = it->second;
                    view->setFrame(CGRect{{*e[MinX] - origin->x, *e[MinY] - origin->y},
                                          {*e[MaxX] - *e[MinX], *e[MaxY] - *e[MinY]}});
                }
            }
        }
        for (const auto& subview : view->subviews())
            apply(subview.get());
    }

private:
    // A view's edge in the root's coordinates, if known.
    std::optional<double> edgeValue(UIView* view, Edge edge) {
        if (constrained_.count(view)) {
            auto it = solved_.find(view);
            return it == solved_.end() ? std::nullopt : it->second[edge];
        }
        auto origin = absoluteOrigin(view);
        if (!origin)
            return std::nullopt;
        CGSize size = view->frame().size;
        switch (edge) {
        case MinX:
            return origin->x;
        case MaxX:
            return origin->x + size.width;
        case MinY:
            return origin->y;
        case MaxY:
            return origin->y + size.height;
        }
        return std::nullopt;
    }

    std::optional<CGPoint> absoluteOrigin(UIView* view) {
        if (!view || view == root_)
            return CGPoint{0, 0};
        if (constrained_.count(view)) {
            auto x = edgeValue(view, MinX), y = edgeValue(view, MinY);
            if (!x || !y)
                return std::nullopt;
            return CGPoint{*x, *y};
        }
        if (CGRectIsNull(view->frame()))
            return std::nullopt;
        auto parent = absoluteOrigin(view->superview());
        if (!parent)
            return std::nullopt;
        return CGPoint{parent->x + view->frame().origin.x, parent->y + view->frame().origin.y};
    }

    UIView* root_;
    std::vector<Equation> equations_;
    std::unordered_set<UIView*> constrained_;
    std::unordered_map<UIView*, std::array<std::optional<double>, 4>> solved_;
};

} // namespace

void solveConstraints(UIView* root) {
    if (!root)
        return;
    Solver solver(root);
    solver.collect(root);
    solver.solve();
    solver.apply(root);
}
