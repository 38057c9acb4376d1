// sidekit: the text data library. It reads the program's text data file once and hands out
// one text at a time, by identifier and language. C++ standard library only.
//
// The file format is described in docs/text-data-format.md and in the header of
// data/dbrg_text.dat. Results of loading:
//   > 0            the number of entries loaded
//   0              nothing was read (no entry in the file)
//   -1             the file cannot be opened
//   -2             memory ran out while storing a text
//   -3             too much text (more than kMaxLines lines or kMaxFileBytes bytes)
//   -4             the file is not text (NUL or other control bytes, invalid UTF-8)
//   -5             bad argument (the reserved argument of lt is not 0)
//   -6             the file is empty
//   -7             error while reading the file
//   -8             memory ran out while reading the file
//   -(500 + n)     line n holds an entry whose English, German or French text is missing or
//                  unreadable
//   -(1000 + n)    line n holds a text longer than kMaxTextChars characters
//   -(1500 + n)    line n repeats an identifier already defined
// Line numbers count from 1. Since missing and too-long codes only carry lines 1 to 500, a
// file may have at most kMaxLines lines; blank lines after them are allowed.
// A missing-string code also stands for a line with more texts than languages; lastFailure()
// tells the two apart.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>

namespace sidekit {

inline constexpr std::int32_t kNothingRead = 0;
inline constexpr std::int32_t kCannotOpen = -1;
inline constexpr std::int32_t kParticularAllocation = -2;
inline constexpr std::int32_t kTooMuchText = -3;
inline constexpr std::int32_t kTextNotRecovered = -4;
inline constexpr std::int32_t kBadArgument = -5;
inline constexpr std::int32_t kFileEmpty = -6;
inline constexpr std::int32_t kReadError = -7;
inline constexpr std::int32_t kGeneralAllocation = -8;
inline constexpr std::int32_t kMissingStringBase = -500;
inline constexpr std::int32_t kTooLongBase = -1000;
inline constexpr std::int32_t kDuplicateBase = -1500;

inline constexpr int kLanguageCount = 6;      // 0 English, 1 German, 2 French, 3 Portuguese, ...
inline constexpr int kRequiredLanguages = 3;  // English, German and French must be present
inline constexpr std::int32_t kMaxTextChars = 1024;  // characters (code points) per text
inline constexpr std::int32_t kMaxLines = 500;
inline constexpr std::size_t kMaxFileBytes = 4u * 1024u * 1024u;
inline constexpr std::int32_t kMaxId = 32767;

// What a missing-string result stood for.
enum class LoadFailure { None, MissingText, TooManyTexts };

// Every text of one identifier; an empty string is a language without its own text.
using TextSet = std::array<std::string, kLanguageCount>;

class TextStore {
  public:
    // Loads the file at `path` (a byte path as the operating system takes it). On failure the
    // texts loaded before stay as they were.
    std::int32_t Load(const std::string& path);
    // Loads from the file's bytes.
    std::int32_t LoadFromBytes(std::string_view bytes);

    // Copies the text of `id` in `language` (UTF-8) to the start of `buffer`, at most `size`
    // bytes and kMaxTextChars characters, never cutting a character in half; a NUL follows
    // when there is room. Returns the number of bytes written, 0 when there is no text.
    // A language without its own text for this identifier gets the English text.
    std::int32_t Get(std::int32_t id, std::int32_t language, char* buffer, std::int32_t size) const;

    // The kind of the last load's missing-string failure (None after any other result).
    LoadFailure lastFailure() const { return lastFailure_; }

    std::size_t size() const { return texts_.size(); }
    void Clear() { texts_.clear(); }

  private:
    std::unordered_map<std::int32_t, TextSet> texts_;
    LoadFailure lastFailure_ = LoadFailure::None;
};

// The process-wide store behind lt and gt.
TextStore& ProcessTextStore();

// Loads the text data file into the process-wide store. `reserved` must be 0.
std::int32_t lt(const std::string& path, std::int32_t reserved);

// Gets one text from the process-wide store (see TextStore::Get). `ready` is the caller's
// main-window-ready flag; the library accepts it and needs it for nothing.
std::int32_t gt(std::int32_t id, std::int32_t language, char* buffer, std::int32_t size,
                std::int32_t ready);

}  // namespace sidekit
