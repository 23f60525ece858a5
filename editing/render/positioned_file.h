#pragma once

// Private to the render: a second handle on an output file that libavformat is writing, for
// reading back what reached the file and for changing bytes in place behind the muxer.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace editing {

// Owns one file descriptor opened for reading and writing (never creating or truncating).
// Reads and writes are positioned (pread / pwrite), so the muxer's own handle and its position
// are left alone. Threading: one thread at a time.
class PositionedFile {
  public:
    PositionedFile() = default;
    ~PositionedFile();
    PositionedFile(const PositionedFile&) = delete;
    PositionedFile& operator=(const PositionedFile&) = delete;

    // False when the file cannot be opened or is not a regular file; every other call then
    // does nothing.
    bool open(const std::string& fileName);
    bool isOpen() const { return descriptor_ >= 0; }
    void close();

    // The file's length in bytes now (0 when unknown).
    std::int64_t sizeBytes() const;
    // Exactly `count` bytes at `offsetBytes`, or empty when fewer are there.
    std::vector<std::uint8_t> readAt(std::int64_t offsetBytes, std::size_t count) const;
    bool writeAt(std::int64_t offsetBytes, const std::uint8_t* bytes, std::size_t count);
    // Puts the file's data (not its metadata) on the disk; what is written after this call
    // never reaches the disk before it.
    bool syncData();

  private:
    int descriptor_ = -1;
};

// Big- and little-endian fields of a byte buffer; reads past the end give 0.
std::uint64_t readBigEndian(const std::vector<std::uint8_t>& bytes, std::size_t offset, int width);
std::uint64_t readLittleEndian(const std::vector<std::uint8_t>& bytes, std::size_t offset,
                               int width);
void appendLittleEndian(std::vector<std::uint8_t>& bytes, std::uint64_t value, int width);

}  // namespace editing
