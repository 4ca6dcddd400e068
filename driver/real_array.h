// An array of 64-bit reals indexed from 1, so formulas read as they are
// written: aw(i), u(i-1).
#pragma once
#include <cstdint>
#include <utility>

#include "runtime/array_allocation.h"

class RealArray {
public:
    RealArray() = default;
    // `n` zeros; the allocation failure stop when the memory cannot be had.
    explicit RealArray(std::int32_t n) : data_(allocate_reals(n)), size_(n) {}
    ~RealArray() { release_reals(data_, size_); }

    RealArray(RealArray&& other) noexcept
        : data_(std::exchange(other.data_, nullptr)), size_(std::exchange(other.size_, 0)) {}
    RealArray& operator=(RealArray&& other) noexcept {
        std::swap(data_, other.data_);
        std::swap(size_, other.size_);
        return *this;
    }
    RealArray(const RealArray&) = delete;
    RealArray& operator=(const RealArray&) = delete;

    double& operator()(std::int32_t i) { return data_[i - 1]; }
    const double& operator()(std::int32_t i) const { return data_[i - 1]; }
    std::int32_t size() const { return size_; }

private:
    double* data_ = nullptr;
    std::int32_t size_ = 0;
};
