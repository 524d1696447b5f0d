#include "LayoutEngine.h"
#include "NSLayoutConstraint.h"
#include "UIView.h"

#include "device/Instruments.h"

#include <cmath>
#include <map>
#include <optional>
#include <unordered_map>
#include <vector>

namespace {

enum Edge { MinX, MaxX, MinY, MaxY };

constexpr double Epsilon = 1e-9;

// sum(coefficient * unknown) + constant, unknowns by index.
struct Linear {
    std::map<std::size_t, double> terms;
    double constant = 0;

    void addTerm(std::size_t unknown, double coefficient) {
        double& sum = terms[unknown];
        sum += coefficient;
        if (std::abs(sum) < Epsilon)
            terms.erase(unknown);
    }
    void add(const Linear& other, double factor) {
        for (const auto& [unknown, coefficient] : other.terms)
            addTerm(unknown, coefficient * factor);
        constant += other.constant * factor;
    }
};

class Solver {
public:
    explicit Solver(UIView* root) : root_(root) {}

    // Finds the constraints of the tree and the views they place; the unknowns are
    // numbered in the order the views are first met, so results never depend on addresses.
    void collect(UIView* view) {
        for (const auto& constraint : view->constraints()) {
            constraints_.push_back(constraint.get());
            for (UIView* item : {constraint->firstItem(), constraint->secondItem()})
                if (item && item != root_ && !item->translatesAutoresizingMaskIntoConstraints() &&
                    !firstUnknown_.count(item))
                    firstUnknown_.emplace(item, firstUnknown_.size() * 4);
        }
        for (const auto& subview : view->subviews())
            collect(subview.get());
    }

    void solve() {
        for (NSLayoutConstraint* constraint : constraints_) {
            auto equation = equationOf(constraint);
            if (equation)
                eliminate(std::move(*equation), constraint);
        }
    }

    // Gives each view whose four edges are determined its frame, parents before children,
    // relative to where its superview lies by then.
    void apply(UIView* view) {
        if (auto it = firstUnknown_.find(view); it != firstUnknown_.end()) {
            std::optional<double> edges[4];
            for (int e = MinX; e <= MaxY; ++e)
                edges[e] = valueOf(it->second + static_cast<std::size_t>(e));
            auto origin = placedOrigin(view->superview());
            if (origin && edges[MinX] && edges[MaxX] && edges[MinY] && edges[MaxY])
                view->setFrame(CGRect{{*edges[MinX] - origin->x, *edges[MinY] - origin->y},
                                      {*edges[MaxX] - *edges[MinX], *edges[MaxY] - *edges[MinY]}});
        }
        for (const auto& subview : view->subviews())
            apply(subview.get());
    }

private:
    // An edge in the root's coordinates: an unknown for a constrained view, otherwise its
    // frame laid on its superview's edge. Nothing for a view without a usable frame.
    std::optional<Linear> edgeOf(UIView* view, Edge edge) {
        Linear linear;
        if (view == root_) {
            CGSize size = root_->bounds().size;
            linear.constant = edge == MaxX ? size.width : edge == MaxY ? size.height : 0;
            return linear;
        }
        if (auto it = firstUnknown_.find(view); it != firstUnknown_.end()) {
            linear.addTerm(it->second + edge, 1);
            return linear;
        }
        CGRect frame = view->frame();
        if (!view->superview() || CGRectIsNull(frame))
            return std::nullopt;
        bool horizontal = edge == MinX || edge == MaxX;
        auto origin = edgeOf(view->superview(), horizontal ? MinX : MinY);
        if (!origin)
            return std::nullopt;
        origin->constant += horizontal ? frame.origin.x : frame.origin.y;
        if (edge == MaxX)
            origin->constant += frame.size.width;
        if (edge == MaxY)
            origin->constant += frame.size.height;
        return origin;
    }

    std::optional<Linear> attributeOf(UIView* view, NSLayoutAttribute attribute) {
        auto combine = [&](Edge a, double fa, Edge b, double fb) -> std::optional<Linear> {
            auto first = edgeOf(view, a), second = edgeOf(view, b);
            if (!first || !second)
                return std::nullopt;
            Linear sum;
            sum.add(*first, fa);
            sum.add(*second, fb);
            return sum;
        };
        switch (attribute) {
        case NSLayoutAttribute::Left:
        case NSLayoutAttribute::Leading:
            return edgeOf(view, MinX);
        case NSLayoutAttribute::Right:
        case NSLayoutAttribute::Trailing:
            return edgeOf(view, MaxX);
        case NSLayoutAttribute::Top:
            return edgeOf(view, MinY);
        case NSLayoutAttribute::Bottom:
            return edgeOf(view, MaxY);
        case NSLayoutAttribute::CenterX:
            return combine(MinX, 0.5, MaxX, 0.5);
        case NSLayoutAttribute::CenterY:
            return combine(MinY, 0.5, MaxY, 0.5);
        case NSLayoutAttribute::Width:
            return combine(MaxX, 1, MinX, -1);
        case NSLayoutAttribute::Height:
            return combine(MaxY, 1, MinY, -1);
        }
        return std::nullopt;
    }

    // first - second - constant = 0
    std::optional<Linear> equationOf(NSLayoutConstraint* constraint) {
        auto first = attributeOf(constraint->firstItem(), constraint->firstAttribute());
        if (!first)
            return std::nullopt;
        Linear equation = *first;
        equation.constant -= constraint->constant();
        if (constraint->secondItem()) {
            auto second = attributeOf(constraint->secondItem(), constraint->secondAttribute());
            if (!second)
                return std::nullopt;
            equation.add(*second, -1);
        }
        return equation;
    }

    // Gaussian elimination, one equation at a time: every row expresses its pivot through
    // unknowns that are not pivots, so a row without terms is a determined value.
    void eliminate(Linear equation, NSLayoutConstraint* constraint) {
        Linear reduced;
        reduced.constant = equation.constant;
        for (const auto& [unknown, coefficient] : equation.terms) {
            if (auto row = rows_.find(unknown); row != rows_.end())
                reduced.add(row->second, coefficient);
            else
                reduced.addTerm(unknown, coefficient);
        }
        if (reduced.terms.empty()) {
            if (std::abs(reduced.constant) > 1e-6)
                device::Instruments::shared().log(
                    "Unable to simultaneously satisfy constraints. Will attempt to recover by breaking "
                    "constraint " +
                    constraint->description());
            return;
        }
        auto pivot = reduced.terms.begin();
        for (auto it = reduced.terms.begin(); it != reduced.terms.end(); ++it)
            if (std::abs(it->second) > std::abs(pivot->second) + Epsilon)
                pivot = it;
        std::size_t unknown = pivot->first;
        double coefficient = pivot->second;
        reduced.terms.erase(pivot);
        Linear solution;
        solution.add(reduced, -1 / coefficient);
        for (auto& [other, row] : rows_) {
            auto it = row.terms.find(unknown);
            if (it == row.terms.end())
                continue;
            double factor = it->second;
            row.terms.erase(it);
            row.add(solution, factor);
        }
        rows_.emplace(unknown, std::move(solution));
    }

    std::optional<double> valueOf(std::size_t unknown) const {
        auto row = rows_.find(unknown);
        if (row == rows_.end() || !row->second.terms.empty())
            return std::nullopt;
        return row->second.constant;
    }

    // Where a view lies in the root's coordinates, from the frames it and its ancestors
    // have now.
    std::optional<CGPoint> placedOrigin(UIView* view) const {
        CGPoint origin;
        for (; view && view != root_; view = view->superview()) {
            if (CGRectIsNull(view->frame()))
                return std::nullopt;
            origin.x += view->frame().origin.x;
            origin.y += view->frame().origin.y;
        }
        if (!view)
            return std::nullopt;
        return origin;
    }

    UIView* root_;
    std::vector<NSLayoutConstraint*> constraints_;
    std::unordered_map<UIView*, std::size_t> firstUnknown_; // a view's MinX unknown; MaxY is +3
    std::unordered_map<std::size_t, Linear> rows_;          // pivot unknown = its row
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
