#pragma once

#include "foundation/NSString.h"

// The system pasteboard. The general pasteboard is one for the whole process; the
// simulator reads it into its reports.
class UIPasteboard : public NSObject {
    OBJC_NATIVE_CLASS(UIPasteboard) : NSObject(isa) {}

    static UIPasteboard* generalPasteboard();

    // Nil when the pasteboard holds no string.
    NSString* string() const { return string_.get(); }
    void setString(id string);

private:
    objc::Ref<NSString> string_;
};
