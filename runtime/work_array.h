// A work array of reals indexed from 1 whose memory outlives it: the next
// work array of the same size gets the same block back. The solver creates
// and releases one on every iteration; released to the system, a large block
// costs a page fault per 4 KiB when the next iteration writes it again.
#pragma once
#include <cstdint>

class WorkArray {
public:
    // `n` reals of unspecified value; the allocation failure stop when the
    // memory cannot be had.
    explicit WorkArray(std::int32_t n);
    ~WorkArray();
    WorkArray(const WorkArray&) = delete;
    WorkArray& operator=(const WorkArray&) = delete;

    double& operator()(std::int32_t i) { return data_[i - 1]; }
    const double& operator()(std::int32_t i) const { return data_[i - 1]; }
    double* data() { return data_; }

private:
    double* data_;
    std::int32_t size_;
};
