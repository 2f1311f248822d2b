#include "io/ozr_io_csv_texts.h"

#include <algorithm>

namespace {

constexpr std::size_t kBlockSize = 64 * 1024;

}  // namespace

std::string_view TKeptTexts::Keep(std::string_view text)
{
    if (text.size() > free_) {
        const std::size_t size = std::max(kBlockSize, text.size());
        blocks_.push_back(std::make_unique_for_overwrite<char[]>(size));
        next_ = blocks_.back().get();
        free_ = size;
    }
    char* const copy = next_;
    std::copy(text.begin(), text.end(), copy);
    next_ += text.size();
    free_ -= text.size();
    return {copy, text.size()};
}

void TKeptTexts::Clear()
{
    blocks_.clear();
    next_ = nullptr;
    free_ = 0;
}
