#pragma once

// The archive stream of a file archive: it stays the same object while the
// archive moves from one volume file to the next, so that the directory
// manager and the item writer can hold on to it. On a floppy disk it gathers
// the bytes of the current volume in memory, to be put on the disk in one
// piece.

#include <memory>

#include "platform/ZAStream.h"

class TZAVolumeStream final : public TStream {
public:
    // Replaces the volume file; the old one is closed. While gathering, the
    // memory takes the new file's content.
    void Attach(std::unique_ptr<TStream> file);
    TStream* File() const { return file_.get(); }

    void StartGathering();
    void StopGathering() { gathered_.reset(); }
    bool Gathering() const { return gathered_ != nullptr; }
    // Gathered bytes the disk has not taken yet.
    std::int64_t PendingBytes() const;
    // Puts the gathered volume on the disk; false when the disk took fewer bytes.
    bool WriteGathered();

    std::int64_t Size() const override { return Target().Size(); }
    void SetSize(std::int64_t size) override { Target().SetSize(size); }
    std::int64_t Position() const override { return Target().Position(); }
    void Seek(std::int64_t position) override { Target().Seek(position); }
    std::size_t Read(void* buffer, std::size_t count) override;
    std::size_t Write(const void* buffer, std::size_t count) override;
    int WriteError() const override { return Target().WriteError(); }
    void Flush() override;

private:
    TStream& Target() const;
    TStream& CheckedFile() const;

    std::unique_ptr<TStream> file_;
    std::unique_ptr<TMemoryStream> gathered_;
};
