// UTF-8, the one encoding the programs write and carry their texts in.
#pragma once

#include <cstdint>
#include <string>

// Appends one code point; a surrogate or a value past U+10FFFF, which is no
// character, becomes U+FFFD.
void AppendUtf8(std::uint32_t code, std::string* out);

// Wide text as UTF-8. A UTF-16 surrogate pair (how Windows holds characters
// past U+FFFF) is one code point; every other unit is one on its own.
std::string Utf8(const std::wstring& text);

// `bytes` with each ill-formed sequence (a stray byte, a cut or overlong
// sequence, a surrogate, a value past U+10FFFF) replaced by one U+FFFD, as
// readers of JSON and CSV expect: texts that devices send may be in another
// encoding, or none.
std::string ValidUtf8(const std::string& bytes);
