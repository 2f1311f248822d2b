#include "crypto/ZAsha1.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <new>

#include "crypto/ZACodecUtil.h"

namespace {

constexpr std::size_t kBlock = 64;
constexpr std::size_t kDigest = 20;

struct Sha1Context {
    std::uint32_t h[5];
    std::uint64_t length;  // bytes hashed so far
    std::uint32_t used;    // bytes waiting in block
    std::uint8_t block[kBlock];
};

static_assert(sizeof(Sha1Context) <= sizeof(THashState::Data));

Sha1Context& Context(THashState& state)
{
    return *std::launder(reinterpret_cast<Sha1Context*>(state.Data));
}

void Compress(std::uint32_t h[5], const std::uint8_t* blocks, std::size_t count)
{
    if (za::UseProcessorSha()) {
        za::Sha1CompressNi(h, blocks, count);
    } else {
        za::Sha1CompressPortable(h, blocks, count);
    }
}

std::uint32_t LoadBigEndian(const std::uint8_t* p)
{
    return std::uint32_t{p[0]} << 24 | std::uint32_t{p[1]} << 16 | std::uint32_t{p[2]} << 8 |
           std::uint32_t{p[3]};
}

}  // namespace

const THashDescriptor SHA1Descriptor = {kHashSignature,
                                        kHashDescriptorSize,
                                        kHashVersion,
                                        kBlock,
                                        kDigest,
                                        SHA1Init,
                                        SHA1Final,
                                        SHA1Update,
                                        3,
                                        "SHA1",
                                        6,
                                        {1, 3, 14, 3, 2, 26}};

void SHA1Init(THashState& state)
{
    Sha1Context* context = new (state.Data) Sha1Context{};
    context->h[0] = 0x67452301;
    context->h[1] = 0xEFCDAB89;
    context->h[2] = 0x98BADCFE;
    context->h[3] = 0x10325476;
    context->h[4] = 0xC3D2E1F0;
}

void SHA1Update(THashState& state, const void* data, std::size_t size)
{
    if (size == 0) {
        return;
    }
    Sha1Context& context = Context(state);
    const auto* bytes = static_cast<const std::uint8_t*>(data);
    context.length += size;
    if (context.used > 0) {
        const std::size_t take = std::min<std::size_t>(size, kBlock - context.used);
        std::memcpy(context.block + context.used, bytes, take);
        context.used += static_cast<std::uint32_t>(take);
        bytes += take;
        size -= take;
        if (context.used < kBlock) {
            return;
        }
        Compress(context.h, context.block, 1);
        context.used = 0;
    }
    const std::size_t whole = size / kBlock;
    if (whole > 0) {
        Compress(context.h, bytes, whole);
        bytes += whole * kBlock;
        size -= whole * kBlock;
    }
    std::memcpy(context.block, bytes, size);
    context.used = static_cast<std::uint32_t>(size);
}

void SHA1Final(THashState& state, THashDigest& digest)
{
    Sha1Context& context = Context(state);
    const std::uint64_t bits = context.length * 8;
    std::uint8_t tail[2 * kBlock] = {0x80};
    const std::size_t padding = (context.used < 56 ? 56 : 120) - context.used;
    for (int i = 0; i < 8; ++i) {
        tail[padding + static_cast<std::size_t>(i)] =
            static_cast<std::uint8_t>(bits >> (56 - 8 * i));
    }
    SHA1Update(state, tail, padding + 8);
    digest.fill(0);
    for (std::size_t i = 0; i < 5; ++i) {
        const std::uint32_t word = context.h[i];
        digest[4 * i] = static_cast<std::uint8_t>(word >> 24);
        digest[4 * i + 1] = static_cast<std::uint8_t>(word >> 16);
        digest[4 * i + 2] = static_cast<std::uint8_t>(word >> 8);
        digest[4 * i + 3] = static_cast<std::uint8_t>(word);
    }
    za::SecureWipe(state.Data, sizeof(state.Data));
}

namespace za {

void Sha1CompressPortable(std::uint32_t state[5], const std::uint8_t* blocks, std::size_t count)
{
    for (; count > 0; --count, blocks += kBlock) {
        std::uint32_t w[80];
        for (int t = 0; t < 16; ++t) {
            w[t] = LoadBigEndian(blocks + 4 * t);
        }
        for (int t = 16; t < 80; ++t) {
            w[t] = std::rotl(w[t - 3] ^ w[t - 8] ^ w[t - 14] ^ w[t - 16], 1);
        }
        std::uint32_t a = state[0], b = state[1], c = state[2], d = state[3], e = state[4];
        for (int t = 0; t < 80; ++t) {
            std::uint32_t f;
            std::uint32_t k;
            if (t < 20) {
                f = (b & c) | (~b & d);
                k = 0x5A827999;
            } else if (t < 40) {
                f = b ^ c ^ d;
                k = 0x6ED9EBA1;
            } else if (t < 60) {
                f = (b & c) | (b & d) | (c & d);
                k = 0x8F1BBCDC;
            } else {
                f = b ^ c ^ d;
                k = 0xCA62C1D6;
            }
            const std::uint32_t temp = std::rotl(a, 5) + f + e + k + w[t];
            e = d;
            d = c;
            c = std::rotl(b, 30);
            b = a;
            a = temp;
        }
        state[0] += a;
        state[1] += b;
        state[2] += c;
        state[3] += d;
        state[4] += e;
    }
}

}  // namespace za
