#include "tests/zip/directory/hostile_archives.h"

#include <cstdint>
#include <string_view>
#include <unordered_map>
#include <utility>

#include "zip/format/ZARecords.h"

namespace zatest {

namespace {

constexpr std::uint32_t kFnvStart = 0x811C9DC5;
constexpr std::uint32_t kFnvPrime = 16777619;

std::uint32_t FnvOf(std::uint32_t hash, std::string_view bytes)
{
    for (const char c : bytes) {
        hash = (hash ^ static_cast<unsigned char>(c)) * kFnvPrime;
    }
    return hash;
}

// Five letters or digits drawn from a scrambled i: blocks of numbers near one
// another differ in all their bytes, so that their hashes fall as if at random
// (counted up letter by letter, they hardly ever meet).
std::string Block(std::uint64_t i)
{
    static constexpr std::string_view kAlphabet = "abcdefghijklmnopqrstuvwxyz0123456789";
    std::uint64_t scrambled = i * 0x9E3779B97F4A7C15;
    scrambled ^= scrambled >> 29;
    std::string block(5, 'a');
    for (char& c : block) {
        c = kAlphabet[scrambled % kAlphabet.size()];
        scrambled /= kAlphabet.size();
    }
    return block;
}

// Two blocks that take the hash to one and the same value: among 32-bit
// values two of about 80,000 blocks meet by chance.
std::pair<std::string, std::string> BlocksMeetingFrom(std::uint32_t hash)
{
    std::unordered_map<std::uint32_t, std::uint64_t> seen;
    for (std::uint64_t i = 0;; ++i) {
        const auto [earlier, added] = seen.emplace(FnvOf(hash, Block(i)), i);
        if (!added && Block(earlier->second) != Block(i)) {
            return {Block(earlier->second), Block(i)};
        }
    }
}

}  // namespace

std::vector<std::string> NamesSharingOneFnvHash(int doublings)
{
    std::vector<std::string> names{""};
    std::uint32_t hash = kFnvStart;
    for (int step = 0; step < doublings; ++step) {
        const auto [one, other] = BlocksMeetingFrom(hash);
        hash = FnvOf(hash, one);
        std::vector<std::string> longer;
        longer.reserve(2 * names.size());
        for (const std::string& name : names) {
            longer.push_back(name + one);
            longer.push_back(name + other);
        }
        names = std::move(longer);
    }
    return names;
}

za::Bytes RepeatedLocalHeaderSignatures(std::size_t size)
{
    za::Bytes bytes;
    while (bytes.size() + 4 <= size) {
        za::PutU32(bytes, ZAStandardSignatures.LocalHeader);
    }
    return bytes;
}

za::Bytes HeadersAwaitingDescriptors(std::size_t size)
{
    TZALocalHeader local;
    local.VersionNeeded = 20;
    local.Flags = ZAFlagDataDescriptor;
    local.FileNameLength = 1;
    za::Bytes bytes;
    while (bytes.size() + TZALocalHeader::Size + 1 <= size) {
        local.Write(bytes);
        za::PutU8(bytes, 'f');
    }
    return bytes;
}

}  // namespace zatest
