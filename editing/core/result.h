#pragma once

#include <cstdint>
#include <string>

namespace editing {

// Result of every operation of the editing layer: 0 (or any non-negative value) is success,
// a negative value is a failure. Our own failures use the familiar 0x8xxxxxxx codes;
// FFmpeg's AVERROR values are passed through unchanged. The two ranges never overlap, so
// describeResult() can explain either.
//
// A Result converts to and from its 32-bit code implicitly, so it reads like the code it
// carries (comparisons, switch, FFmpeg's int returns). The type is [[nodiscard]]: a call whose
// Result is dropped does not compile (warnings are errors), so no failure is ignored by
// accident. Dropping one on purpose is spelt static_cast<void>(call) with a comment saying why.
class [[nodiscard]] Result {
  public:
    constexpr Result() = default;
    constexpr Result(std::int32_t code) : code_(code) {}  // NOLINT: implicit by design
    constexpr operator std::int32_t() const { return code_; }

  private:
    std::int32_t code_ = 0;
};

inline constexpr Result kOk = 0;
inline constexpr Result kFalse = 1;  // success, but "nothing" (an empty list, end of data)

inline constexpr Result kErrorFail = static_cast<Result>(0x80004005);
inline constexpr Result kErrorInvalidArgument = static_cast<Result>(0x80070057);
inline constexpr Result kErrorOutOfMemory = static_cast<Result>(0x8007000E);
inline constexpr Result kErrorNoInterface = static_cast<Result>(0x80004002);
inline constexpr Result kErrorPointer = static_cast<Result>(0x80004003);
inline constexpr Result kErrorNotImplemented = static_cast<Result>(0x80004001);
inline constexpr Result kErrorUnexpected = static_cast<Result>(0x8000FFFF);
// Time-line specific failures.
inline constexpr Result kErrorStopBeforeStart = static_cast<Result>(0x80040300);
inline constexpr Result kErrorEmptyMediaSpan = static_cast<Result>(0x80040301);
inline constexpr Result kErrorUnknownStretchMode = static_cast<Result>(0x80040302);
inline constexpr Result kErrorNodeAlreadyAttached = static_cast<Result>(0x80040303);
inline constexpr Result kErrorWrongNodeKind = static_cast<Result>(0x80040304);
inline constexpr Result kErrorUnknownNode = static_cast<Result>(0x80040305);
inline constexpr Result kErrorNoMediaType = static_cast<Result>(0x80040306);
inline constexpr Result kErrorEmptyTimeline = static_cast<Result>(0x80040307);
inline constexpr Result kErrorFileNotFound = static_cast<Result>(0x80040308);
inline constexpr Result kErrorNameTooLong = static_cast<Result>(0x80040309);
inline constexpr Result kErrorNoDecodableStream = static_cast<Result>(0x8004030A);
inline constexpr Result kErrorNoCompressor = static_cast<Result>(0x8004030B);
inline constexpr Result kErrorRenderBusy = static_cast<Result>(0x8004030C);

inline constexpr bool succeeded(Result result) {
    return result >= 0;
}
inline constexpr bool failed(Result result) {
    return result < 0;
}

// A readable description of `result`: ours, or FFmpeg's (av_strerror). Empty for a code that
// nobody describes, so callers can fall back to "Unknown Error: 0x..".
std::string describeResult(Result result);

// True when `result` is one of the editing layer's own codes (not an FFmpeg error).
bool isEditingResult(Result result);

}  // namespace editing
