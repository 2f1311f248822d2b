// The registry of cipher classes.

#include <algorithm>

#include "crypto/ZACipher.h"

namespace {

std::unique_ptr<TCipher> CreateRijndael()
{
    return std::make_unique<TCipher_Rijndael>();
}

// "TCipher_Rijndael" gives "Rijndael".
std::string DefaultName(const std::string& className)
{
    std::string name = className;
    if (!name.empty() && name[0] == 'T') {
        name.erase(0, 1);
    }
    const std::size_t underscore = name.find('_');
    if (underscore != std::string::npos) {
        name.erase(0, underscore + 1);
    }
    return name;
}

std::vector<TCipherEntry>& Entries()
{
    static std::vector<TCipherEntry> entries = [] {
        std::vector<TCipherEntry> list;
        list.push_back({DefaultName(CipherClass_Rijndael.ClassName) + "=", &CipherClass_Rijndael});
        return list;
    }();
    return entries;
}

}  // namespace

const TCipherClass CipherClass_Rijndael = {"TCipher_Rijndael", CreateRijndael};

bool RegisterCipher(const TCipherClass* cipherClass, const std::string& name,
                    const std::string& description)
{
    if (cipherClass == nullptr) {
        return false;
    }
    const std::string text =
        (name.empty() ? DefaultName(cipherClass->ClassName) : name) + "=" + description;
    auto& entries = Entries();
    const auto listed = std::find_if(entries.begin(), entries.end(),
                                     [&](const TCipherEntry& e) { return e.Class == cipherClass; });
    if (listed != entries.end()) {
        listed->Text = text;
    } else {
        entries.push_back({text, cipherClass});
    }
    return true;
}

const std::vector<TCipherEntry>& CipherList()
{
    return Entries();
}
