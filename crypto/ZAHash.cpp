#include "crypto/ZAHash.h"

#include <cctype>
#include <cstring>
#include <string>

#include "crypto/ZAsha1.h"

namespace {

constexpr std::size_t kMaxNameLength = 19;

using TRegistry = std::array<const THashDescriptor*, kHashSlots>;

bool IsValid(const THashDescriptor* descriptor, int slot)
{
    return descriptor != nullptr && descriptor->Signature == kHashSignature &&
           descriptor->Id == slot;
}

void Store(TRegistry& registry, int id, const THashDescriptor* descriptor)
{
    if (descriptor == nullptr || id < 0 || id >= kHashSlots || descriptor->Id != id ||
        descriptor->Signature != kHashSignature || descriptor->Version != kHashVersion ||
        descriptor->SizeMarker != kHashDescriptorSize) {
        return;
    }
    registry[static_cast<std::size_t>(id)] = descriptor;
}

TRegistry MakeRegistry()
{
    TRegistry registry{};
    Store(registry, SHA1Descriptor.Id, &SHA1Descriptor);
    return registry;
}

TRegistry& Registry()
{
    static TRegistry registry = MakeRegistry();
    return registry;
}

std::string UpperName(const char* name)
{
    std::string upper(name, strnlen(name, kMaxNameLength));
    for (char& c : upper) {
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    }
    return upper;
}

}  // namespace

void RegisterHash(int id, const THashDescriptor* descriptor)
{
    Store(Registry(), id, descriptor);
}

const THashDescriptor* GetHashById(int id)
{
    if (id < 0 || id >= kHashSlots) {
        return nullptr;
    }
    const THashDescriptor* descriptor = Registry()[static_cast<std::size_t>(id)];
    return IsValid(descriptor, id) ? descriptor : nullptr;
}

const THashDescriptor* FindHashByName(const char* name)
{
    if (name == nullptr) {
        return nullptr;
    }
    const std::string wanted = UpperName(name);
    for (int id = 0; id < kHashSlots; ++id) {
        const THashDescriptor* descriptor = GetHashById(id);
        if (descriptor != nullptr && UpperName(descriptor->Name) == wanted) {
            return descriptor;
        }
    }
    return nullptr;
}

void HashBuffer(const THashDescriptor& descriptor, const void* data, std::size_t size,
                THashDigest& digest)
{
    THashState state;
    descriptor.Init(state);
    descriptor.Update(state, data, size);
    descriptor.Final(state, digest);
}
