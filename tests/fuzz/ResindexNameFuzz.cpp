// Fuzz target: a file name written as a string literal must read back, under the C++ rules
// for escapes and trigraphs, as exactly the same bytes.
#include <cstdint>
#include <sstream>
#include <string>

#include "FuzzSupport.h"
#include "ResourceIndex.h"

namespace {

using fuzzsupport::Fail;

bool IsOctal(char c) { return c >= '0' && c <= '7'; }

// Decodes the body of a literal as a compiler would; fails on anything a compiler would
// reject or read differently (a raw quote, newline or control byte, a trigraph).
std::string Decode(const std::string& body) {
  std::string out;
  for (std::size_t i = 0; i < body.size(); ++i) {
    const char c = body[i];
    const unsigned char byte = static_cast<unsigned char>(c);
    if (c == '"' || c == '\n' || byte < 0x20 || byte == 0x7f) Fail("raw quote or control byte in literal");
    if (c == '?' && i + 2 < body.size() && body[i + 1] == '?' &&
        std::string("=/'()!<>-").find(body[i + 2]) != std::string::npos)
      Fail("trigraph in literal");
    if (c != '\\') {
      out += c;
      continue;
    }
    if (++i == body.size()) Fail("literal ends in a backslash");
    const char e = body[i];
    switch (e) {
      case '"':
      case '\\':
      case '?':
      case '\'': out += e; break;
      case 'n': out += '\n'; break;
      case 't': out += '\t'; break;
      case 'r': out += '\r'; break;
      default: {
        if (!IsOctal(e)) Fail("unknown escape in literal");
        int value = 0, digits = 0;
        while (digits < 3 && i < body.size() && IsOctal(body[i]))
          value = value * 8 + (body[i++] - '0'), ++digits;
        --i;
        out += static_cast<char>(value);
      }
    }
  }
  return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string name(reinterpret_cast<const char*>(data), size);
  std::ostringstream literal;
  resindex::WriteNameLiteral(literal, name);
  if (Decode(literal.str()) != name) Fail("the literal reads back as another name");
  return 0;
}
