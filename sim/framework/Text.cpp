// Conversions between the engine's UTF-16 text, wide (UTF-32) text and UTF-8.

#include <string>

#include "host/FString.h"
#include "host/Tools.h"
#include "sim/framework/SimHost.h"

namespace {

constexpr char32_t kReplacement = 0xFFFD;

bool IsSurrogate(char32_t c) {
  return c >= 0xD800 && c <= 0xDFFF;
}

void AppendUtf16(std::u16string& out, char32_t c) {
  if (c > 0x10FFFF) {
    c = kReplacement;
  }
  if (c < 0x10000) {
    out.push_back(static_cast<char16_t>(c));
    return;
  }
  c -= 0x10000;
  out.push_back(static_cast<char16_t>(0xD800 + (c >> 10)));
  out.push_back(static_cast<char16_t>(0xDC00 + (c & 0x3FF)));
}

void AppendUtf8(std::string& out, char32_t c) {
  if (c < 0x80) {
    out.push_back(static_cast<char>(c));
    return;
  }
  // The lead byte marks the sequence's length; six bits a continuation byte.
  constexpr char32_t kLead[] = {0, 0xC0, 0xE0, 0xF0};
  const int continuations = c < 0x800 ? 1 : c < 0x10000 ? 2 : 3;
  out.push_back(static_cast<char>(kLead[continuations] | (c >> (6 * continuations))));
  for (int i = continuations - 1; i >= 0; --i) {
    out.push_back(static_cast<char>(0x80 | ((c >> (6 * i)) & 0x3F)));
  }
}

// The sequence's length, the lead byte's payload and the smallest value a
// sequence of that length may encode; length 0 for a byte that cannot lead one.
struct Form {
  int length;
  char32_t payload_mask;
  char32_t minimum;
};

Form FormOf(unsigned char lead) {
  if (lead >= 0xC2 && lead <= 0xDF) {
    return {2, 0x1F, 0x80};
  }
  if (lead >= 0xE0 && lead <= 0xEF) {
    return {3, 0x0F, 0x800};
  }
  if (lead >= 0xF0 && lead <= 0xF4) {
    return {4, 0x07, 0x10000};
  }
  return {0, 0, 0};
}

// Decodes one character at `at` and moves past it. An invalid sequence gives
// U+FFFD and moves past its longest valid beginning (at least one byte), so the
// bytes after it are read afresh.
char32_t DecodeUtf8(std::string_view text, size_t& at) {
  const auto byte = [&](size_t i) { return static_cast<unsigned char>(text[i]); };
  const unsigned char lead = byte(at);
  ++at;
  if (lead < 0x80) {
    return lead;
  }
  const Form form = FormOf(lead);
  if (form.length == 0) {
    return kReplacement;
  }
  const int length = form.length;
  const char32_t minimum = form.minimum;
  char32_t c = lead & form.payload_mask;
  for (int i = 1; i < length; ++i) {
    if (at >= text.size() || (byte(at) & 0xC0) != 0x80) {
      return kReplacement;
    }
    const char32_t next = (c << 6) | (byte(at) & 0x3F);
    // Reject overlong forms, surrogates and values past U+10FFFF as early as the
    // second byte shows them, as a decoder that reads byte by byte does.
    if (i == 1) {
      const char32_t smallest = next << (6 * (length - 2));
      const char32_t largest = smallest | ((char32_t{1} << (6 * (length - 2))) - 1);
      if (largest < minimum || smallest > 0x10FFFF || (length == 3 && IsSurrogate(smallest))) {
        return kReplacement;
      }
    }
    c = next;
    ++at;
  }
  return c;
}

}  // namespace

namespace sim {

std::u16string Utf8ToUtf16(std::string_view text) {
  std::u16string out;
  out.reserve(text.size());
  size_t at = 0;
  while (at < text.size()) {
    AppendUtf16(out, DecodeUtf8(text, at));
  }
  return out;
}

std::string Utf16ToUtf8(std::u16string_view units) {
  std::string out;
  out.reserve(units.size());
  for (size_t i = 0; i < units.size(); ++i) {
    char32_t c = units[i];
    if (c >= 0xD800 && c <= 0xDBFF && i + 1 < units.size() && units[i + 1] >= 0xDC00 &&
        units[i + 1] <= 0xDFFF) {
      c = 0x10000 + ((c - 0xD800) << 10) + (units[i + 1] - 0xDC00);
      ++i;
    } else if (IsSurrogate(c)) {
      c = kReplacement;
    }
    AppendUtf8(out, c);
  }
  return out;
}

size_t Utf8SequenceLength(std::string_view text) {
  size_t at = 0;
  const char32_t c = DecodeUtf8(text, at);
  // U+FFFD stands for an invalid sequence unless it was written out.
  return c == kReplacement && !text.starts_with("\xEF\xBF\xBD") ? 0 : at;
}

std::string ToUtf8(const FString& text) {
  return Utf16ToUtf8(std::u16string_view(*text, static_cast<size_t>(text.Len())));
}

FString FStringFromUtf8(std::string_view text) {
  const std::u16string units = Utf8ToUtf16(text);
  return FString::FromUnits(units.data(), static_cast<int32_t>(units.size()));
}

}  // namespace sim

std::wstring AsaApi::Tools::Utf8Decode(const std::string& text) {
  if constexpr (sizeof(wchar_t) == 2) {
    // 16-bit wide text is UTF-16: a character beyond the Basic Multilingual
    // Plane becomes a surrogate pair.
    const std::u16string units = sim::Utf8ToUtf16(text);
    return std::wstring(units.begin(), units.end());
  }
  std::wstring out;
  out.reserve(text.size());
  size_t at = 0;
  while (at < text.size()) {
    out.push_back(static_cast<wchar_t>(DecodeUtf8(text, at)));
  }
  return out;
}

FString::FString(const char* text) {
  if (text == nullptr) {
    return;
  }
  std::u16string units;
  for (const unsigned char byte : std::string_view(text)) {
    units.push_back(byte);
  }
  *this = FromUnits(units.data(), static_cast<int32_t>(units.size()));
}

FString::FString(const wchar_t* text) {
  if (text == nullptr) {
    return;
  }
  std::u16string units;
  for (const wchar_t* at = text; *at != 0; ++at) {
    // A lone surrogate value passes through as the unit it is.
    AppendUtf16(units, static_cast<char32_t>(*at));
  }
  *this = FromUnits(units.data(), static_cast<int32_t>(units.size()));
}
