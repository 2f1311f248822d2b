#pragma once

// A stream that keeps its bytes in memory up to a bound and moves them into a
// temporary file once it grows beyond, so that small items of a volume set
// cost no file of their own.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "platform/ZAStream.h"

class TZASpillStream final : public TStream {
public:
    // makeFileName gives the name of a new, empty temporary file, which the
    // stream creates when it first needs it and deletes when it goes.
    TZASpillStream(std::int64_t memoryLimit, std::function<std::string()> makeFileName);
    ~TZASpillStream() override;
    TZASpillStream(const TZASpillStream&) = delete;
    TZASpillStream& operator=(const TZASpillStream&) = delete;

    bool InFile() const { return file_ != nullptr; }

    std::int64_t Size() const override { return Target().Size(); }
    void SetSize(std::int64_t size) override;
    std::int64_t Position() const override { return Target().Position(); }
    void Seek(std::int64_t position) override { Target().Seek(position); }
    std::size_t Read(void* buffer, std::size_t count) override;
    std::size_t Write(const void* buffer, std::size_t count) override;

private:
    TStream& Target() const;
    // True when the stream may grow to the given end: in memory up to the
    // bound, beyond it in the file, which the bytes held so far move into.
    bool HasRoomFor(std::int64_t end);
    bool MoveToFile();

    std::int64_t memoryLimit_;
    std::function<std::string()> makeFileName_;
    std::unique_ptr<TMemoryStream> memory_ = std::make_unique<TMemoryStream>();
    std::unique_ptr<TFileStream> file_;
    std::string fileName_;
};
