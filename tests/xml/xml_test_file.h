#pragma once

// A file in a temporary folder that a test writes and that goes away with it.

#include <string>

#include "tests/support/files.h"
#include "tests/support/temp_folder.h"

class TTestFile {
public:
    explicit TTestFile(const std::string& content, const std::string& name = "test.xml")
        : path_(wqtest::WriteTextFile(folder_ / name, content))
    {
    }

    std::string Path() const { return path_; }

private:
    wqtest::TempFolder folder_;
    std::string path_;
};
