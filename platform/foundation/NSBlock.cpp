#include "NSBlock.h"

NSBlock* NSBlock::make(std::function<void()> body) {
    auto* block = objc::make<NSBlock>(staticClass());
    block->body_ = std::move(body);
    return block;
}

Class NSBlock::staticClass() {
    static Class cls = [] {
        Class c = objc::defineNativeClass<NSBlock>("NSBlock", NSObject::staticClass());
        objc_registerClassPair(c);
        return c;
    }();
    return cls;
}
