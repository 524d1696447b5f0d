#include "RuntimeBackend.h"

// A block literal as the compiler lays out one that captures nothing: a global block,
// which _Block_copy answers as it is and nobody frees.
extern "C" void* _NSConcreteGlobalBlock[32];

namespace {

struct BlockDescriptor {
    unsigned long reserved;
    unsigned long size;
};

struct BlockLiteral {
    void* isa;
    int flags;
    int reserved;
    void (*invoke)(BlockLiteral*);
    const BlockDescriptor* descriptor;
};

constexpr int BlockIsGlobal = 1 << 28;

void doNothing(BlockLiteral*) {}

constexpr BlockDescriptor descriptor{0, sizeof(BlockLiteral)};
BlockLiteral block{_NSConcreteGlobalBlock, BlockIsGlobal, 0, doNothing, &descriptor};

} // namespace

id objc::emptyBlock() {
    return reinterpret_cast<id>(&block);
}
