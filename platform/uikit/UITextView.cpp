#include "UITextView.h"
#include "StringCopy.h"
#include "UIPasteboard.h"

namespace {

UIFont* defaultFont() {
    static auto* font = new objc::Ref<UIFont>(UIFont::systemFontOfSize(12));
    return font->get();
}

NSString* emptyString() {
    static auto* empty = new objc::Ref<NSString>(NSString::make(""));
    return empty->get();
}

// A place between two characters: its offset in UTF-8 bytes and in UTF-16 units.
struct Boundary {
    std::size_t bytes = 0;
    unsigned long units = 0;
};

std::size_t characterBytes(unsigned char lead) {
    return lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
}

// The boundary at a UTF-16 offset, or the nearest one before (roundUp false) or after it
// when the offset falls inside a surrogate pair.
Boundary boundaryAt(std::string_view utf8, unsigned long units, bool roundUp) {
    Boundary at;
    while (at.bytes < utf8.size() && at.units < units) {
        std::size_t bytes =
            std::min(characterBytes(static_cast<unsigned char>(utf8[at.bytes])), utf8.size() - at.bytes);
        unsigned long width = bytes == 4 ? 2 : 1;
        if (at.units + width > units && !roundUp)
            break;
        at.bytes += bytes;
        at.units += width;
    }
    return at;
}

UITextView* self(id object) {
    return static_cast<UITextView*>(object);
}

} // namespace

UITextView::UITextView(Class isa) : UIScrollView(isa), text_(emptyString()), font_(defaultFont()) {}

UITextView* UITextView::make(CGRect frame) {
    auto* view = objc::make<UITextView>(staticClass());
    view->setFrame(frame);
    return view;
}

void UITextView::setText(id text) {
    NSString* copy = copyString(text);
    text_ = copy ? copy : emptyString();
    selectedRange_ = NSMakeRange(text_->length(), 0);
}

void UITextView::setFont(UIFont* font) {
    font_ = font ? font : defaultFont();
}

void UITextView::setSelectedRange(NSRange range) {
    const std::string& utf8 = text_->utf8();
    unsigned long length = text_->length();
    unsigned long start = std::min(range.location, length);
    unsigned long end = start + std::min(range.length, length - start);
    Boundary first = boundaryAt(utf8, start, false);
    Boundary last = boundaryAt(utf8, end, true);
    selectedRange_ = NSMakeRange(first.units, last.units - first.units);
}

std::string UITextView::selectedText() const {
    const std::string& utf8 = text_->utf8();
    Boundary first = boundaryAt(utf8, selectedRange_.location, false);
    Boundary last = boundaryAt(utf8, selectedRange_.location + selectedRange_.length, true);
    return utf8.substr(first.bytes, last.bytes - first.bytes);
}

void UITextView::copySelection() {
    if (selectedRange_.length == 0)
        return;
    UIPasteboard::generalPasteboard()->setString(NSString::make(selectedText()));
}

void UITextView::insertText(std::string_view inserted) {
    const std::string& utf8 = text_->utf8();
    Boundary first = boundaryAt(utf8, selectedRange_.location, false);
    Boundary last = boundaryAt(utf8, selectedRange_.location + selectedRange_.length, true);
    std::string edited = utf8.substr(0, first.bytes);
    edited += inserted;
    edited += utf8.substr(last.bytes);
    text_ = NSString::make(edited);
    selectedRange_ = NSMakeRange(first.units + utf16Length(inserted), 0);
}

Class UITextView::staticClass() {
    static Class cls = [] {
        Class c = objc::defineNativeClass<UITextView>("UITextView", UIScrollView::staticClass());
        objc::addMethod(
            c, "text", +[](id view, SEL) -> id { return self(view)->text(); });
        objc::addMethod(
            c, "setText:", +[](id view, SEL, id text) { self(view)->setText(text); });
        objc::addMethod(
            c, "font", +[](id view, SEL) -> id { return self(view)->font(); });
        objc::addMethod(
            c, "setFont:", +[](id view, SEL, id font) { self(view)->setFont(objc::cast<UIFont>(font)); });
        objc::addMethod(
            c, "textColor", +[](id view, SEL) -> id { return self(view)->textColor(); });
        objc::addMethod(
            c, "setTextColor:", +[](id view, SEL, id color) {
                self(view)->setTextColor(objc::cast<UIColor>(color));
            });
        objc::addMethod(
            c, "textAlignment", +[](id view, SEL) -> long { return self(view)->textAlignment(); });
        objc::addMethod(
            c, "setTextAlignment:", +[](id view, SEL, long alignment) {
                self(view)->setTextAlignment(alignment);
            });
        objc::addMethod(
            c, "isEditable", +[](id view, SEL) -> bool { return self(view)->isEditable(); });
        objc::addMethod(
            c, "setEditable:", +[](id view, SEL, bool editable) { self(view)->setEditable(editable); });
        objc::addMethod(
            c, "isSelectable", +[](id view, SEL) -> bool { return self(view)->isSelectable(); });
        objc::addMethod(
            c,
            "setSelectable:", +[](id view, SEL, bool selectable) { self(view)->setSelectable(selectable); });
        objc::addMethod(
            c, "selectedRange", +[](id view, SEL) -> NSRange { return self(view)->selectedRange(); });
        objc::addMethod(
            c,
            "setSelectedRange:", +[](id view, SEL, NSRange range) { self(view)->setSelectedRange(range); });
        objc::addMethod(
            c, "copy:", +[](id view, SEL, id) { self(view)->copySelection(); });
        objc::addMethod(
            c, "insertText:", +[](id view, SEL, id text) { self(view)->insertText(utf8Of(text)); });
        objc_registerClassPair(c);
        return c;
    }();
    return cls;
}
