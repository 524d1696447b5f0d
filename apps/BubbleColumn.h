#pragma once

#include "uikit/CGGeometry.h"

#include <string_view>

namespace apps {

enum class BubbleSide { Incoming, Outgoing, Notice };

// Places chat bubbles down a conversation, one under the other: incoming ones against
// the left edge, outgoing ones against the right, notices centred. Each bubble is as
// large as its text plus its padding, at most a share of the conversation's width,
// and keeps to its edge when that width changes (autoresizingMask).
class BubbleColumn {
public:
    struct Style {
        double fontSize;
        CGSize padding;           // between the text and the bubble's edge, each side
        double margin;            // between a bubble and the conversation's edge
        double spacing;           // between one bubble and the next
        double minimumHeight;     // a bubble of one short line
        double widthShare = 0.75; // of the conversation's width, at most

        // Where the text lies in a bubble of that size.
        CGRect textFrame(CGSize bubble) const {
            return CGRectMake(padding.width, padding.height, bubble.width - 2 * padding.width,
                              bubble.height - 2 * padding.height);
        }
    };

    struct Placement {
        CGRect frame;
        unsigned long autoresizingMask;
    };

    BubbleColumn(double width, double top, Style style) : width_(width), y_(top), style_(style) {}

    Placement place(std::string_view text, BubbleSide side);
    // A row of the given height that holds no bubble, across the conversation.
    Placement placeBlank(double height);
    double bottom() const { return y_; }

private:
    double width_;
    double y_;
    Style style_;
};

} // namespace apps
