#include "sidekit/sidekit.h"

#include <cstdio>
#include <cstring>
#include <new>
#include <utility>

namespace sidekit {

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

// Length of the well-formed UTF-8 sequence that starts at s[i] (no overlong forms, no
// surrogates, nothing above U+10FFFF); 0 when there is none.
std::size_t Utf8SequenceLength(std::string_view s, std::size_t i) {
    const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(s[k]); };
    const unsigned char lead = byte(i);
    if (lead < 0x80) {
        return 1;
    }
    std::size_t length = 0;
    unsigned char low = 0x80;
    unsigned char high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        if (lead == 0xE0) {
            low = 0xA0;
        } else if (lead == 0xED) {
            high = 0x9F;
        }
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        if (lead == 0xF0) {
            low = 0x90;
        } else if (lead == 0xF4) {
            high = 0x8F;
        }
    } else {
        return 0;
    }
    if (s.size() - i < length) {
        return 0;
    }
    if (byte(i + 1) < low || byte(i + 1) > high) {
        return 0;
    }
    for (std::size_t k = 2; k < length; ++k) {
        if (byte(i + k) < 0x80 || byte(i + k) > 0xBF) {
            return 0;
        }
    }
    return length;
}

// A line of text: well-formed UTF-8 without control characters other than TAB.
bool IsTextLine(std::string_view line) {
    std::size_t i = 0;
    while (i < line.size()) {
        const unsigned char c = static_cast<unsigned char>(line[i]);
        if ((c < 0x20 && c != '\t') || c == 0x7F) {
            return false;
        }
        const std::size_t length = Utf8SequenceLength(line, i);
        if (length == 0) {
            return false;
        }
        i += length;
    }
    return true;
}

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

std::size_t SkipBlanks(std::string_view line, std::size_t i) {
    while (i < line.size() && IsBlank(line[i])) {
        ++i;
    }
    return i;
}

enum class EntryResult { Ok, Missing, TooManyTexts, TooLong };

struct Entry {
    std::int32_t id = 0;
    TextSet texts;
};

// Reads one quoted text starting at line[i] == '"'. Sets `end` after the closing quote and
// `chars` to the number of characters. False when the closing quote is missing.
bool ReadQuoted(std::string_view line, std::size_t i, std::string& text, std::size_t& end,
                std::size_t& chars) {
    text.clear();
    chars = 0;
    ++i;  // opening quote
    while (i < line.size()) {
        if (line[i] == '"') {
            if (i + 1 < line.size() && line[i + 1] == '"') {
                text.push_back('"');
                ++chars;
                i += 2;
                continue;
            }
            end = i + 1;
            return true;
        }
        const std::size_t length = Utf8SequenceLength(line, i);  // the line is valid UTF-8
        text.append(line.substr(i, length));
        ++chars;
        i += length;
    }
    return false;
}

// Reads an entry line: an identifier, then one quoted text per language (English, German,
// French, then optionally Portuguese, Spanish and language 5), then an optional comment.
EntryResult ParseEntry(std::string_view line, Entry& entry) {
    std::size_t i = SkipBlanks(line, 0);
    std::int32_t id = 0;
    const std::size_t digitsStart = i;
    while (i < line.size() && line[i] >= '0' && line[i] <= '9') {
        id = id * 10 + (line[i] - '0');
        if (id > kMaxId) {
            return EntryResult::Missing;
        }
        ++i;
    }
    if (i == digitsStart || id < 1 || i >= line.size() || !IsBlank(line[i])) {
        return EntryResult::Missing;
    }
    entry.id = id;

    int count = 0;
    bool tooLong = false;
    i = SkipBlanks(line, i);
    while (i < line.size() && line[i] != '#') {
        if (line[i] != '"') {
            return EntryResult::Missing;
        }
        if (count == kLanguageCount) {
            return EntryResult::TooManyTexts;
        }
        std::size_t end = 0;
        std::size_t chars = 0;
        if (!ReadQuoted(line, i, entry.texts[static_cast<std::size_t>(count)], end, chars)) {
            return EntryResult::Missing;
        }
        if (chars > static_cast<std::size_t>(kMaxTextChars)) {
            tooLong = true;
        }
        ++count;
        // A text is followed by blanks, a comment or the end of the line.
        if (end < line.size() && !IsBlank(line[end]) && line[end] != '#') {
            return EntryResult::Missing;
        }
        i = SkipBlanks(line, end);
    }
    if (count < kRequiredLanguages) {
        return EntryResult::Missing;
    }
    for (int language = 0; language < kRequiredLanguages; ++language) {
        if (entry.texts[static_cast<std::size_t>(language)].empty()) {
            return EntryResult::Missing;
        }
    }
    return tooLong ? EntryResult::TooLong : EntryResult::Ok;
}

}  // namespace

std::int32_t TextStore::LoadFromBytes(std::string_view bytes) {
    lastFailure_ = LoadFailure::None;
    if (bytes.empty()) {
        return kFileEmpty;
    }
    if (bytes.size() > kMaxFileBytes) {
        return kTooMuchText;
    }
    try {
        std::unordered_map<std::int32_t, TextSet> loaded;
        if (bytes.starts_with(kByteOrderMark)) {
            bytes.remove_prefix(kByteOrderMark.size());
        }
        std::size_t pos = 0;
        std::int32_t lineNumber = 0;
        while (pos < bytes.size()) {
            ++lineNumber;
            const std::size_t newline = bytes.find('\n', pos);
            std::string_view line = bytes.substr(
                pos, newline == std::string_view::npos ? std::string_view::npos : newline - pos);
            pos = newline == std::string_view::npos ? bytes.size() : newline + 1;
            if (!line.empty() && line.back() == '\r') {
                line.remove_suffix(1);
            }
            if (!IsTextLine(line)) {
                return kTextNotRecovered;
            }
            const std::size_t first = SkipBlanks(line, 0);
            if (first == line.size()) {
                continue;
            }
            if (lineNumber > kMaxLines) {
                return kTooMuchText;
            }
            if (line[first] == '#') {
                continue;
            }
            Entry entry;
            switch (ParseEntry(line, entry)) {
                case EntryResult::Missing:
                    lastFailure_ = LoadFailure::MissingText;
                    return kMissingStringBase - lineNumber;
                case EntryResult::TooManyTexts:
                    lastFailure_ = LoadFailure::TooManyTexts;
                    return kMissingStringBase - lineNumber;
                case EntryResult::TooLong:
                    return kTooLongBase - lineNumber;
                case EntryResult::Ok:
                    break;
            }
            if (!loaded.emplace(entry.id, std::move(entry.texts)).second) {
                return kDuplicateBase - lineNumber;
            }
        }
        if (loaded.empty()) {
            return kNothingRead;
        }
        texts_ = std::move(loaded);
        return static_cast<std::int32_t>(texts_.size());
    } catch (const std::bad_alloc&) {
        return kParticularAllocation;
    }
}

std::int32_t TextStore::Load(const std::string& path) {
    lastFailure_ = LoadFailure::None;
    if (path.empty() || path.find('\0') != std::string::npos) {
        return kCannotOpen;
    }
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) {
        return kCannotOpen;
    }
    std::string bytes;
    char chunk[16384];
    std::int32_t failure = 0;
    try {
        std::size_t got = 0;
        while ((got = std::fread(chunk, 1, sizeof chunk, file)) > 0) {
            if (bytes.size() + got > kMaxFileBytes) {
                failure = kTooMuchText;
                break;
            }
            bytes.append(chunk, got);
        }
    } catch (const std::bad_alloc&) {
        failure = kGeneralAllocation;
    }
    if (failure == 0 && std::ferror(file) != 0) {
        failure = kReadError;
    }
    std::fclose(file);
    if (failure != 0) {
        return failure;
    }
    return LoadFromBytes(bytes);
}

std::int32_t TextStore::Get(std::int32_t id, std::int32_t language, char* buffer,
                            std::int32_t size) const {
    if (buffer == nullptr || size <= 0 || language < 0 || language >= kLanguageCount) {
        return 0;
    }
    const auto found = texts_.find(id);
    if (found == texts_.end()) {
        return 0;
    }
    const std::string* text = &found->second[static_cast<std::size_t>(language)];
    if (text->empty()) {
        text = &found->second[0];
    }
    const auto room = static_cast<std::size_t>(size);
    std::size_t length = 0;
    std::int32_t chars = 0;
    while (length < text->size() && chars < kMaxTextChars) {
        const std::size_t next = Utf8SequenceLength(*text, length);
        if (next == 0 || length + next > room) {
            break;
        }
        length += next;
        ++chars;
    }
    std::memcpy(buffer, text->data(), length);
    if (length < room) {
        buffer[length] = '\0';
    }
    return static_cast<std::int32_t>(length);
}

TextStore& ProcessTextStore() {
    static TextStore store;
    return store;
}

std::int32_t lt(const std::string& path, std::int32_t reserved) {
    if (reserved != 0) {
        return kBadArgument;
    }
    return ProcessTextStore().Load(path);
}

std::int32_t gt(std::int32_t id, std::int32_t language, char* buffer, std::int32_t size,
                std::int32_t ready) {
    static_cast<void>(ready);
    return ProcessTextStore().Get(id, language, buffer, size);
}

}  // namespace sidekit
