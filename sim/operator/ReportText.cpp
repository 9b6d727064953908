#include "sim/operator/ReportText.h"

#include <cstdio>
#include <limits>
#include <vector>

#include "sim/framework/SimHost.h"

namespace sim::op {
namespace {

using nlohmann::json;

// Text written up to a bound; once the bound is met nothing more is taken.
class BoundedText {
 public:
  explicit BoundedText(size_t limit) : limit_(limit) {}

  // False once the bound is met (this text may be cut).
  bool Put(std::string_view piece) {
    if (full_) {
      return false;
    }
    if (piece.size() > limit_ - text_.size()) {
      text_.append(piece.substr(0, limit_ - text_.size()));
      full_ = true;
      return false;
    }
    text_.append(piece);
    return true;
  }
  void Stop() { full_ = true; }
  bool Full() const { return full_; }
  std::string& Text() { return text_; }

 private:
  size_t limit_;
  std::string text_;
  bool full_ = false;
};

// A control character at the start of a valid sequence: C0, DEL, or C1 (two
// bytes). Gives its code, or -1.
int ControlCode(std::string_view sequence) {
  const auto lead = static_cast<unsigned char>(sequence[0]);
  if (sequence.size() == 1 && (lead < 0x20 || lead == 0x7F)) {
    return lead;
  }
  if (sequence.size() == 2 && lead == 0xC2 && static_cast<unsigned char>(sequence[1]) < 0xA0) {
    return static_cast<unsigned char>(sequence[1]);
  }
  return -1;
}

enum class Style {
  json_string,               // the body of a JSON string, as the JSON library writes it
  terminal,                  // Printable
  terminal_double_backslash  // Printable, backslashes doubled
};

std::string CodeEscape(const char* format, unsigned code) {
  char escape[8];
  std::snprintf(escape, sizeof escape, format, code);
  return escape;
}

// Writes the text escaped in this style; false once the bound is met.
bool PutEscaped(std::string_view text, Style style, BoundedText& out) {
  for (size_t at = 0; at < text.size();) {
    const std::string_view rest = text.substr(at);
    const size_t length = Utf8SequenceLength(rest);
    if (length == 0) {
      const auto byte = static_cast<unsigned char>(rest[0]);
      // The JSON library's own replacement, as in its reports.
      if (!out.Put(style == Style::json_string ? "\xEF\xBF\xBD" : CodeEscape("\\x%02X", byte))) {
        return false;
      }
      ++at;
      continue;
    }
    const std::string_view sequence = rest.substr(0, length);
    at += length;
    std::string escape;
    const int code = ControlCode(sequence);
    if (code == '\n') {
      escape = "\\n";
    } else if (code == '\r') {
      escape = "\\r";
    } else if (code == '\t') {
      escape = "\\t";
    } else if (style == Style::json_string && code == '\b') {
      escape = "\\b";
    } else if (style == Style::json_string && code == '\f') {
      escape = "\\f";
    } else if (code >= 0) {
      escape = CodeEscape("\\u%04x", static_cast<unsigned>(code));
    } else if (sequence == "\\" && style != Style::terminal) {
      escape = "\\\\";
    } else if (sequence == "\"" && style == Style::json_string) {
      escape = "\\\"";
    }
    if (!out.Put(escape.empty() ? sequence : std::string_view(escape))) {
      return false;
    }
  }
  return true;
}

bool PutScalar(const json& value, BoundedText& out) {
  if (value.is_string()) {
    return out.Put("\"") &&
           PutEscaped(value.get_ref<const std::string&>(), Style::json_string, out) &&
           out.Put("\"");
  }
  // Numbers, booleans and null have short texts of their own.
  return out.Put(value.dump());
}

// Drops the tail of a cut text that is not a whole UTF-8 character.
void CutAtWholeCharacter(std::string& text) {
  size_t start = text.size();
  for (size_t back = 0; back < 4 && start > 0; ++back) {
    --start;
    if ((static_cast<unsigned char>(text[start]) & 0xC0) != 0x80) {
      break;
    }
  }
  if (start < text.size() && Utf8SequenceLength(std::string_view(text).substr(start)) == 0 &&
      static_cast<unsigned char>(text[start]) >= 0x80) {
    text.resize(start);
  }
}

}  // namespace

ShownValue ShowValue(const json& value) {
  ShownValue shown;
  shown.type = value.type_name();
  if (value.is_structured()) {
    shown.size = value.size();
  } else if (value.is_string()) {
    shown.size = value.get_ref<const std::string&>().size();
  }
  BoundedText out(kShownBytes);
  // The arrays and objects open around the element written next.
  struct Open {
    const json* container;
    json::const_iterator next;
  };
  std::vector<Open> open;
  const json* element = &value;
  while (!out.Full()) {
    if (element != nullptr) {
      if (!element->is_structured()) {
        PutScalar(*element, out);
      } else if (open.size() == kShownDepth) {
        out.Stop();
        break;
      } else {
        out.Put(element->is_array() ? "[" : "{");
        open.push_back({element, element->cbegin()});
      }
      element = nullptr;
      continue;
    }
    if (open.empty()) {
      break;
    }
    Open& top = open.back();
    if (top.next == top.container->cend()) {
      out.Put(top.container->is_array() ? "]" : "}");
      open.pop_back();
      continue;
    }
    if (top.next != top.container->cbegin() && !out.Put(",")) {
      break;
    }
    if (top.container->is_object() &&
        !(out.Put("\"") && PutEscaped(top.next.key(), Style::json_string, out) && out.Put("\":"))) {
      break;
    }
    element = &*top.next;
    ++top.next;
  }
  shown.shortened = out.Full();
  shown.text = std::move(out.Text());
  if (shown.shortened) {
    CutAtWholeCharacter(shown.text);
    shown.text += "...";
  }
  return shown;
}

std::string Printable(std::string_view text, bool double_backslash) {
  BoundedText out(std::numeric_limits<size_t>::max());
  PutEscaped(text, double_backslash ? Style::terminal_double_backslash : Style::terminal, out);
  return std::move(out.Text());
}

}  // namespace sim::op
