#pragma once

#include "Runtime.h"

// One link of a host's text chain: a property asked of the object reached so far, or an
// element of the array reached so far.
struct TextLink {
    const char* property = nullptr; // nil: the element at `index`
    size_t index = 0;

    TextLink(const char* propertyName) : property(propertyName) {}
    static TextLink element(size_t at) {
        TextLink link(nullptr);
        link.index = at;
        return link;
    }
};

// Follows a chain of host properties from an object (cellData, then message, then
// textToSpeak, say) and answers the string at its end, or nil. A link that the object
// does not answer (a host update renamed it), an element past the end of the array (an
// entry without subviews), or an end that is not a string, gives nil rather than an
// exception that would end the host app.
id followChain(id object, const TextLink* links, size_t count);
template <size_t N> id hostTextByChain(id object, const TextLink (&links)[N]) {
    return followChain(object, links, N);
}

// A host view's own `text`: a chain of that one link, so that an update that made it
// answer something other than a string reads as nil rather than reaching a text view's
// setText:, which would raise.
id hostTextProperty(id view);
