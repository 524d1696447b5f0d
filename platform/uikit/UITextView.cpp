#include "UITextView.h"
#include "StringCopy.h"
#include "UILongPressGestureRecognizer.h"
#include "UIPasteboard.h"
#include "UITapGestureRecognizer.h"
#include "UIWindow.h"

#include <algorithm>
#include <cctype>
#include <cmath>

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

// Whether a character starting with this byte belongs to a word.
bool isWordCharacter(unsigned char lead) {
    return lead >= 0x80 || std::isalnum(lead);
}

// The place under the recogniser's touch, in UTF-16 units.
unsigned long touchedIndex(UITextView* view, id recognizer) {
    auto* gesture = objc::cast<UIGestureRecognizer>(recognizer);
    return view->characterIndexAtPoint(gesture ? gesture->locationInView(view) : CGPoint{});
}

// The text view takes the text menu once the user has placed or selected in it.
bool becomeFirstResponder(id view, SEL) {
    UIWindow* window = self(view)->window();
    if (window)
        window->setFirstResponder(self(view));
    return window;
}

void placeCaret(id view, SEL cmd, id recognizer) {
    becomeFirstResponder(view, cmd);
    self(view)->setSelectedRange(NSMakeRange(touchedIndex(self(view), recognizer), 0));
}

void selectWord(id view, SEL, id recognizer) {
    becomeFirstResponder(view, nullptr);
    unsigned long index = touchedIndex(self(view), recognizer);
    NSRange word = self(view)->wordRangeAtIndex(index);
    self(view)->setSelectedRange(word.length ? word : NSMakeRange(index, 0));
}

// A long press selects at its start only; moving and lifting keep that selection.
void beginSelection(id view, SEL cmd, id recognizer) {
    if (objc::send<long>(recognizer, "state") == static_cast<long>(UIGestureRecognizerState::Began))
        selectWord(view, cmd, recognizer);
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

unsigned long UITextView::characterIndexAtPoint(CGPoint point) const {
    double width = bounds().size.width;
    double share = width > 0 ? std::clamp(point.x / width, 0.0, 1.0) : 0.0;
    unsigned long length = text_->length();
    Boundary at = boundaryAt(text_->utf8(), static_cast<unsigned long>(std::lround(share * length)), false);
    return at.units;
}

NSRange UITextView::wordRangeAtIndex(unsigned long index) const {
    // Each character's offset in units and whether it belongs to a word.
    const std::string& utf8 = text_->utf8();
    std::vector<std::pair<unsigned long, bool>> characters;
    Boundary at;
    while (at.bytes < utf8.size()) {
        auto lead = static_cast<unsigned char>(utf8[at.bytes]);
        characters.emplace_back(at.units, isWordCharacter(lead));
        std::size_t bytes = std::min(characterBytes(lead), utf8.size() - at.bytes);
        at.bytes += bytes;
        at.units += bytes == 4 ? 2 : 1;
    }
    auto position = std::find_if(characters.begin(), characters.end(),
                                 [&](const auto& character) { return character.first >= index; });
    std::size_t found = static_cast<std::size_t>(position - characters.begin());
    if (found == characters.size() || !characters[found].second) {
        if (found == 0 || !characters[found - 1].second)
            return NSMakeRange(index, 0);
        --found;
    }
    std::size_t first = found, last = found;
    while (first > 0 && characters[first - 1].second)
        --first;
    while (last + 1 < characters.size() && characters[last + 1].second)
        ++last;
    unsigned long end = last + 1 < characters.size() ? characters[last + 1].first : at.units;
    return NSMakeRange(characters[first].first, end - characters[first].first);
}

const std::vector<objc::Ref<UIGestureRecognizer>>& UITextView::textInteractionRecognizers() {
    if (!textInteraction_.empty())
        return textInteraction_;
    auto make = [&](Class cls, const char* action) {
        id recognizer = objc_autorelease(objc::send<id>(
            objc::send<id>(cls, "alloc"), "initWithTarget:action:", this, sel_registerName(action)));
        auto* gesture = objc::cast<UIGestureRecognizer>(recognizer);
        gesture->setView(this);
        textInteraction_.emplace_back(gesture);
        return gesture;
    };
    auto* caret =
        objc::cast<UITapGestureRecognizer>(make(UITapGestureRecognizer::staticClass(), "_placeCaret:"));
    auto* word =
        objc::cast<UITapGestureRecognizer>(make(UITapGestureRecognizer::staticClass(), "_selectWord:"));
    word->setNumberOfTapsRequired(2);
    caret->requireGestureRecognizerToFail(word);
    make(UILongPressGestureRecognizer::staticClass(), "_beginSelection:");
    return textInteraction_;
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
        objc::addMethod(c, "becomeFirstResponder", &becomeFirstResponder);
        objc::addMethod(c, "_placeCaret:", &placeCaret);
        objc::addMethod(c, "_selectWord:", &selectWord);
        objc::addMethod(c, "_beginSelection:", &beginSelection);
        objc_registerClassPair(c);
        return c;
    }();
    return cls;
}
