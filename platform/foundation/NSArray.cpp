#include "NSArray.h"

#include "objc/Exception.h"

NSArray* NSArray::make(std::vector<objc::Ref<objc::Object>> objects) {
    return static_cast<NSArray*>(objc::autorelease(makeOwned(std::move(objects)).get()));
}

objc::Ref<NSArray> NSArray::makeOwned(std::vector<objc::Ref<objc::Object>> objects) {
    auto array = objc::makeOwned<NSArray>(staticClass());
    array->objects_ = std::move(objects);
    return array;
}

id NSArray::objectAtIndex(std::size_t index) const {
    if (index >= objects_.size())
        objc::raise(objc::NSRangeException,
                    "-[" + isa()->name + " objectAtIndex:]: index " + std::to_string(index) +
                        " beyond bounds" +
                        (objects_.empty() ? " for empty array"
                                          : " [0 .. " + std::to_string(objects_.size() - 1) + "]"));
    return objects_[index].get();
}

bool NSArray::isEqual(const NSObject* other) const {
    auto* array = objc::dynCast<NSArray>(const_cast<NSObject*>(other));
    if (!array || array->count() != count())
        return false;
    for (std::size_t i = 0; i < count(); ++i) {
        auto* mine = objc::dynCast<NSObject>(objects_[i].get());
        if (!mine || !mine->isEqual(objc::dynCast<NSObject>(array->objects_[i].get())))
            return false;
    }
    return true;
}

Class NSArray::staticClass() {
    static Class cls = [] {
        Class c = objc::defineNativeClass<NSArray>("NSArray", NSObject::staticClass());
        objc::addClassMethod(
            c, "arrayWithObjects:count:", +[](id, SEL, id* objects, unsigned long count) -> id {
                std::vector<objc::Ref<objc::Object>> list;
                for (unsigned long i = 0; i < count; ++i) {
                    if (!objects[i])
                        objc::raise(objc::NSInvalidArgumentException,
                                    "*** -[__NSPlaceholderArray initWithObjects:count:]: attempt to insert "
                                    "nil object "
                                    "from objects[" +
                                        std::to_string(i) + "]");
                    list.emplace_back(objects[i]);
                }
                return NSArray::make(std::move(list));
            });
        objc::addMethod(
            c, "count", +[](id self, SEL) -> unsigned long { return static_cast<NSArray*>(self)->count(); });
        objc::addMethod(
            c, "objectAtIndex:", +[](id self, SEL, unsigned long index) -> id {
                return static_cast<NSArray*>(self)->objectAtIndex(index);
            });
        objc_registerClassPair(c);
        return c;
    }();
    return cls;
}

NSMutableArray* NSMutableArray::make() {
    return objc::make<NSMutableArray>(staticClass());
}

void NSMutableArray::addObject(id object) {
    if (!object)
        objc::raise(objc::NSInvalidArgumentException,
                    "*** -[__NSArrayM insertObject:atIndex:]: object cannot be nil");
    objects_.emplace_back(object);
}

Class NSMutableArray::staticClass() {
    static Class cls = [] {
        Class c = objc::defineNativeClass<NSMutableArray>("NSMutableArray", NSArray::staticClass());
        objc::addMethod(
            c, "addObject:", +[](id self, SEL, id object) {
                static_cast<NSMutableArray*>(self)->addObject(object);
            });
        objc_registerClassPair(c);
        return c;
    }();
    return cls;
}
