#pragma once

// A list that grows a block of many elements at a time and never moves what
// it holds: an import keeps an element for each line of a file of any size
// with an allocation per block rather than per few lines. The blocks stay
// small enough to come from the heap, which keeps them between imports.

#include <cstddef>
#include <vector>

template <class T>
class TBlockList {
public:
    T& emplace_back()
    {
        if (blocks_.empty() || blocks_.back().size() == kBlockSize)
            blocks_.emplace_back().reserve(kBlockSize);
        return blocks_.back().emplace_back();
    }
    void pop_back() { blocks_.back().pop_back(); }
    void clear() { blocks_.clear(); }

    std::size_t size() const
    {
        return blocks_.empty() ? 0 : (blocks_.size() - 1) * kBlockSize + blocks_.back().size();
    }
    T& operator[](std::size_t index) { return blocks_[index / kBlockSize][index % kBlockSize]; }
    const T& operator[](std::size_t index) const
    {
        return blocks_[index / kBlockSize][index % kBlockSize];
    }

private:
    static constexpr std::size_t kBlockSize = 1024;

    // Every block but the last is full.
    std::vector<std::vector<T>> blocks_;
};
