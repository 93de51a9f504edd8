// The character encodings a document is read from and written in, beside the UTF-8 the tree holds.
// Names are matched as the IANA character-set registry gives them (any case, aliases included);
// every encoding other than UTF-8 is decoded and encoded by iconv, so that bytes an encoding does not
// define are refused rather than guessed at.
#pragma once
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>

namespace ax::xml::encoding {

// How the markup's own characters are laid out in bytes.
enum class Family {
    Utf8,
    Utf16,
    Utf32,
    AsciiBased,  // an 8-bit or multi-byte encoding in which "<?xml" is ASCII
};

enum class ByteOrder { Any, Little, Big };

struct Charset {
    std::string_view name;  // the registry's name
    const char* iconvName;  // nullptr for UTF-8, which needs no conversion
    Family family;
    ByteOrder order;  // the order a UTF-16 or UTF-32 name fixes, if any
};

// The charset a declared name stands for; nullptr for a name this layer does not read. An empty name
// (no declaration, or none in it) is UTF-8.
const Charset* named(std::string_view declared);

// The encoding name in an XML declaration written in ASCII at the start of the text ("" when there is
// no declaration or no encoding in it).
std::string declaredIn(std::string_view text);

// A file's bytes as the UTF-8 text they stand for.
struct Decoded {
    enum class Status { Ok, Unsupported, Mismatch };
    Status status = Status::Ok;
    std::string reason;      // why it failed
    std::string text;        // the UTF-8 text (when converted), or the part decoded before a fault
    bool converted = false;  // false: the bytes are UTF-8 already, from `skip` on
    size_t skip = 0;         // length of the byte-order mark
};

// Works out the encoding from the byte-order mark, the first bytes and the declaration, as XML
// does, and decodes the bytes. A declared encoding that contradicts the bytes, or bytes that are not
// valid in the encoding, give Mismatch; a name this layer does not read gives Unsupported. UTF-8 is
// left to the parser, which checks it as it reads.
Decoded decode(std::string_view bytes);

// Which characters an encoding holds, asked of iconv once for each character met.
class Repertoire {
  public:
    explicit Repertoire(const Charset& charset);
    ~Repertoire();
    Repertoire(const Repertoire&) = delete;
    Repertoire& operator=(const Repertoire&) = delete;
    bool holds(char32_t c);

  private:
    void* cd_;  // iconv_t from UTF-8, or nullptr when every character is held
    std::unordered_map<char32_t, bool> known_;
};

// UTF-8 markup whose every character the encoding holds, in that encoding (a byte-order mark first
// for UTF-16); nothing when iconv cannot write it.
std::optional<std::string> encode(std::string_view utf8Markup, const Charset& charset);

}  // namespace ax::xml::encoding
