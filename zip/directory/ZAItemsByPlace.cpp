#include "zip/directory/ZAItemsByPlace.h"

#include <algorithm>

#include "platform/sysutils.h"
#include "zip/directory/ZADirectoryItems.h"

namespace {

int CompareNames(std::string_view a, std::string_view b)
{
    const std::size_t common = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < common; ++i) {
        const auto x = static_cast<unsigned char>(AsciiLowerChar(a[i]));
        const auto y = static_cast<unsigned char>(AsciiLowerChar(b[i]));
        if (x != y) {
            return x < y ? -1 : 1;
        }
    }
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

}  // namespace

int TZAItemsByPlace::Compare(const Place& a, const Place& b)
{
    if (a.Offset != b.Offset) {
        return a.Offset < b.Offset ? -1 : 1;
    }
    return CompareNames(a.Name, b.Name);
}

int TZAItemsByPlace::Find(std::string_view name, std::uint64_t offset)
{
    Order();
    const Place wanted{offset, name, -1};
    // Past every item of the place: the one before it holds the place's
    // highest index, if the place has any.
    const auto past =
        std::upper_bound(places_.begin(), places_.end(), wanted,
                         [](const Place& a, const Place& b) { return Compare(a, b) < 0; });
    if (past == places_.begin() || Compare(*(past - 1), wanted) != 0) {
        return -1;
    }
    return (past - 1)->Index;
}

void TZAItemsByPlace::Order()
{
    if (ordered_) {
        return;
    }
    places_.reserve(static_cast<std::size_t>(items_.Count()));
    for (int index = 0; index < items_.Count(); ++index) {
        const TDirItem& item = items_.ItemPtr(index);
        places_.push_back({item.LocalHeaderOffset(), item.FileName(), index});
    }
    std::stable_sort(places_.begin(), places_.end(),
                     [](const Place& a, const Place& b) { return Compare(a, b) < 0; });
    ordered_ = true;
}
