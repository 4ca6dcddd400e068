#include "runtime/work_array.h"

#include "runtime/array_allocation.h"

namespace {

// The one block kept for reuse, or none. One is enough: a solve holds a
// single work array at a time.
struct KeptBlock {
    double* data = nullptr;
    std::int32_t size = 0;
};
KeptBlock kept;

}  // namespace

WorkArray::WorkArray(std::int32_t n) : size_(n) {
    if (kept.data != nullptr && kept.size == n) {
        data_ = kept.data;
        kept = {};
        return;
    }
    // A kept block of another size is given back first, so that it does not
    // count against the memory this request may have.
    release_reals(kept.data, kept.size);
    kept = {};
    data_ = allocate_reals(n);
}

WorkArray::~WorkArray() {
    if (kept.data == nullptr) {
        kept = {data_, size_};
    } else {
        release_reals(data_, size_);
    }
}
