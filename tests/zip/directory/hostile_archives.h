#pragma once

// Inputs made to wear the directory down: names that pile up under a hash
// anyone can compute, and files without an end record whose local headers
// ask the rebuild for more than the file holds. The tests and the directory
// benchmark share them.

#include <cstddef>
#include <string>
#include <vector>

#include "platform/ZAEndian.h"

namespace zatest {

// 2^doublings distinct names of lower-case letters and digits that all have
// one FNV-1a hash over their bytes: a hash without a secret lets anyone make
// as many as they like.
std::vector<std::string> NamesSharingOneFnvHash(int doublings);

// The local header signature over and over, size bytes: a header every four
// bytes, whose name and extra fields run over the headers after it.
za::Bytes RepeatedLocalHeaderSignatures(std::size_t size);

// Local headers of one-letter names that announce a data descriptor, back to
// back for size bytes, with no descriptor anywhere.
za::Bytes HeadersAwaitingDescriptors(std::size_t size);

}  // namespace zatest
