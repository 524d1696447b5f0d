#pragma once

#include "objc/Encoding.h"

#include <cmath>
#include <limits>

// Core Graphics geometry, in points. CGFloat is double, as on 64-bit devices.
using CGFloat = double;

struct CGPoint {
    CGFloat x = 0, y = 0;
    bool operator==(const CGPoint&) const = default;
};

struct CGSize {
    CGFloat width = 0, height = 0;
    bool operator==(const CGSize&) const = default;
};

struct CGRect {
    CGPoint origin;
    CGSize size;
    bool operator==(const CGRect&) const = default;

    CGFloat minX() const { return origin.x; }
    CGFloat minY() const { return origin.y; }
    CGFloat maxX() const { return origin.x + size.width; }
    CGFloat maxY() const { return origin.y + size.height; }
    CGFloat midX() const { return origin.x + size.width / 2; }
    CGFloat midY() const { return origin.y + size.height / 2; }
    bool contains(CGPoint p) const { return p.x >= minX() && p.x < maxX() && p.y >= minY() && p.y < maxY(); }
};

inline CGRect CGRectMake(CGFloat x, CGFloat y, CGFloat width, CGFloat height) {
    return CGRect{{x, y}, {width, height}};
}

// The null rectangle: an origin at infinity and no size. Views made with it have no
// usable frame until constraints or a caller give them one.
inline const CGRect CGRectNull{
    {std::numeric_limits<CGFloat>::infinity(), std::numeric_limits<CGFloat>::infinity()}, {0, 0}};
inline const CGRect CGRectZero{};

inline bool CGRectIsNull(const CGRect& rect) {
    return std::isinf(rect.origin.x) || std::isinf(rect.origin.y);
}

namespace objc {
template <> struct Encode<CGPoint> { static constexpr std::string_view value = "{CGPoint=dd}"; };
template <> struct Encode<CGSize> { static constexpr std::string_view value = "{CGSize=dd}"; };
template <> struct Encode<CGRect> {
    static constexpr std::string_view value = "{CGRect={CGPoint=dd}{CGSize=dd}}";
};
} // namespace objc
