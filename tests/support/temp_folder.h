#pragma once

#include <string>

namespace wqtest {

// A fresh folder under the system's temporary folder, removed with all it
// holds, read-only parts included, when the object goes.
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    // The folder, without a trailing "/".
    const std::string& Path() const { return path_; }
    // The path of an entry in the folder.
    std::string operator/(const std::string& name) const { return path_ + "/" + name; }

private:
    std::string path_;
};

}  // namespace wqtest
