#pragma once

#include <cstdint>
#include <cstring>
#include <utility>

#include "host/FMemory.h"

// A unit of the engine's text: UTF-16, also where wchar_t is 32 bits wide.
using EngineChar = char16_t;

// The engine's string: a block of UTF-16 code units ending in a zero unit, with
// a count that includes that terminator. An empty string has no block and count
// 0, or a block holding only the terminator and count 1. The block comes from
// the engine allocator and goes back to it when its holder lets go.
class FString {
 public:
  FString() = default;

  // The host's constructors. Narrow text becomes one unit per byte (bytes above
  // 127 keep their unsigned value); wide text is encoded as UTF-16, so a
  // character outside the Basic Multilingual Plane becomes a surrogate pair.
  FString(const char* text);     // NOLINT(google-explicit-constructor)
  FString(const wchar_t* text);  // NOLINT(google-explicit-constructor)

  FString(const FString& other) { CopyFrom(other); }
  FString(FString&& other) noexcept
      : data_(std::exchange(other.data_, nullptr)),
        count_(std::exchange(other.count_, 0)),
        capacity_(std::exchange(other.capacity_, 0)) {}

  FString& operator=(const FString& other) {
    if (this != &other) {
      FString copy(other);
      Swap(copy);
    }
    return *this;
  }
  FString& operator=(FString&& other) noexcept {
    FString taken(std::move(other));
    Swap(taken);
    return *this;
  }

  ~FString() { FMemory::Free(data_); }

  // The text's code units; an empty string gives a zero-length text.
  const EngineChar* operator*() const { return count_ != 0 ? data_ : u""; }

  // The units with the terminator: 0 for an empty string without a block.
  int32_t Num() const { return count_; }
  int32_t Len() const { return count_ != 0 ? count_ - 1 : 0; }
  bool IsEmpty() const { return count_ <= 1; }
  bool HasStorage() const { return data_ != nullptr; }

  // A string holding exactly these units (plus the terminator), for the host's
  // own constructors and for tests.
  static FString FromUnits(const EngineChar* units, int32_t length) {
    FString result;
    result.Allocate(length + 1);
    if (length > 0) {
      std::memcpy(result.data_, units, sizeof(EngineChar) * static_cast<size_t>(length));
    }
    result.data_[length] = 0;
    return result;
  }

  // A string with a block of only the terminator (count 1), as opposed to the
  // default one without a block (count 0).
  static FString EmptyWithStorage() { return FromUnits(nullptr, 0); }

 private:
  void Allocate(int32_t count) {
    data_ = static_cast<EngineChar*>(
        FMemory::Malloc(sizeof(EngineChar) * static_cast<uint64_t>(count)));
    count_ = count;
    capacity_ = count;
  }

  void CopyFrom(const FString& other) {
    if (other.data_ == nullptr) {
      return;
    }
    Allocate(other.count_);
    std::memcpy(data_, other.data_, sizeof(EngineChar) * static_cast<size_t>(other.count_));
  }

  void Swap(FString& other) noexcept {
    std::swap(data_, other.data_);
    std::swap(count_, other.count_);
    std::swap(capacity_, other.capacity_);
  }

  EngineChar* data_ = nullptr;
  int32_t count_ = 0;
  int32_t capacity_ = 0;
};
