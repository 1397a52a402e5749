#include "platform/PrivateProfile.h"

#include <optional>
#include <vector>

#include "platform/FileSystem.h"
#include "text/TextSearch.h"

namespace tavelo {
namespace {

constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f';
}

std::string_view TrimBlanks(std::string_view text) {
    while (!text.empty() && IsBlank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && IsBlank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

char AsciiLower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// Equal without regard to the case of ASCII letters; the bytes of a two-byte character must
// be equal as they are.
bool NamesMatch(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size();) {
        const std::size_t length = CharLengthAt(a, i);
        if (length == 2) {
            if (a.substr(i, 2) != b.substr(i, 2)) {
                return false;
            }
        } else if (AsciiLower(a[i]) != AsciiLower(b[i])) {
            return false;
        }
        i += length;
    }
    return true;
}

enum class LineKind { kOther, kSection, kEntry };

// One line of the file: where its text lies in the content, where its line end lies, and
// what it holds.
struct ProfileLine {
    std::size_t begin = 0;
    std::size_t end = 0;   // end of the text, before the line end
    std::size_t next = 0;  // start of the next line, after the line end
    LineKind kind = LineKind::kOther;
    std::string_view name;            // section or key name, trimmed
    std::string_view value;           // entry value, trimmed
    std::size_t equals = Text::npos;  // position of an entry's "=" in the content
};

std::vector<ProfileLine> SplitLines(std::string_view content) {
    std::vector<ProfileLine> lines;
    std::size_t at = content.substr(0, kUtf8Mark.size()) == kUtf8Mark ? kUtf8Mark.size() : 0;
    while (at < content.size()) {
        ProfileLine line;
        line.begin = at;
        const std::size_t newline = content.find('\n', at);
        line.next = newline == std::string_view::npos ? content.size() : newline + 1;
        line.end = newline == std::string_view::npos ? content.size() : newline;
        if (line.end > line.begin && content[line.end - 1] == '\r') {
            --line.end;
        }
        const std::string_view text = content.substr(line.begin, line.end - line.begin);
        const std::string_view trimmed = TrimBlanks(text);
        if (!trimmed.empty() && trimmed.front() == '[') {
            const std::size_t close = FindLastText(trimmed, "]");
            if (close != kNotFound) {
                line.kind = LineKind::kSection;
                line.name = TrimBlanks(trimmed.substr(1, close - 1));
            }
        }
        if (line.kind == LineKind::kOther && !trimmed.empty() && trimmed.front() != ';') {
            line.kind = LineKind::kEntry;
            const std::size_t equals = FindText(text, "=");
            if (equals == kNotFound) {
                line.name = trimmed;
            } else {
                line.equals = line.begin + equals;
                line.name = TrimBlanks(text.substr(0, equals));
                line.value = TrimBlanks(text.substr(equals + 1));
            }
        }
        lines.push_back(line);
        at = line.next;
    }
    return lines;
}

// Where a section and one of its keys lie among the lines.
struct ProfileSpot {
    std::optional<std::size_t> header;     // the section's header line
    std::optional<std::size_t> entry;      // the key's line
    std::optional<std::size_t> lastEntry;  // the last entry line of the section
};

ProfileSpot Locate(const std::vector<ProfileLine>& lines, std::string_view section,
                   std::string_view key) {
    ProfileSpot spot;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const ProfileLine& line = lines[i];
        if (line.kind == LineKind::kSection) {
            if (spot.header) {
                break;  // the section ends here; a later one of the same name is not looked at
            }
            if (NamesMatch(line.name, section)) {
                spot.header = i;
            }
        } else if (spot.header && line.kind == LineKind::kEntry) {
            spot.lastEntry = i;
            if (!spot.entry && NamesMatch(line.name, key)) {
                spot.entry = i;
            }
        }
    }
    return spot;
}

// The line end that new lines get: that of the file's first line, CR LF when it has none.
std::string_view LineEndOf(std::string_view content) {
    const std::size_t newline = content.find('\n');
    if (newline != std::string_view::npos && (newline == 0 || content[newline - 1] != '\r')) {
        return "\n";
    }
    return "\r\n";
}

// The value as one line: cut at a zero byte as a zero-terminated string ends there, and
// every line break turned into a blank.
Text SingleLineValue(std::string_view value) {
    Text line = CutAtZero(value);
    for (char& c : line) {
        if (c == '\r' || c == '\n') {
            c = ' ';
        }
    }
    return line;
}

bool NameCanBeReadBack(std::string_view name, bool isSection) {
    if (name.empty() || name.find_first_of("\r\n") != std::string_view::npos ||
        name.find('\0') != std::string_view::npos) {
        return false;
    }
    if (isSection) {
        return FindText(name, "]") == kNotFound;
    }
    return FindText(name, "=") == kNotFound && name.front() != '[' && name.front() != ';';
}

Text WithValue(std::string_view content, std::string_view section, std::string_view key,
               std::string_view value) {
    const std::vector<ProfileLine> lines = SplitLines(content);
    const ProfileSpot spot = Locate(lines, section, key);
    const std::string_view lineEnd = LineEndOf(content);

    Text result;
    if (spot.entry) {
        const ProfileLine& line = lines[*spot.entry];
        // Everything up to the "=" stays; a bare key gets its "=" right after its name.
        const std::size_t keep =
            line.equals != Text::npos
                ? line.equals + 1
                : static_cast<std::size_t>(line.name.data() - content.data()) + line.name.size();
        result.append(content.substr(0, keep));
        if (line.equals == Text::npos) {
            result.append("=");
        }
        result.append(value);
        result.append(content.substr(line.end));
        return result;
    }

    const Text entry = Text(key) + "=" + Text(value);
    if (spot.header) {
        const ProfileLine& after = lines[spot.lastEntry ? *spot.lastEntry : *spot.header];
        result.append(content.substr(0, after.next));
        if (after.next == after.end) {
            result.append(lineEnd);  // the last line of the file had no line end yet
        }
        result.append(entry).append(lineEnd);
        result.append(content.substr(after.next));
        return result;
    }

    result.append(content);
    if (!result.empty() && result.back() != '\n') {
        result.append(lineEnd);
    }
    result.append("[").append(section).append("]").append(lineEnd);
    result.append(entry).append(lineEnd);
    return result;
}

}  // namespace

Text GetPrivateProfileString(std::string_view section, std::string_view key, std::size_t bufferSize,
                             const Text& path) {
    section = TrimBlanks(section);
    key = TrimBlanks(key);
    if (bufferSize == 0 || section.empty() || key.empty()) {
        return {};
    }
    const std::optional<ByteArray> content = ReadWholeFile(path);
    if (!content) {
        return {};
    }
    const std::vector<ProfileLine> lines = SplitLines(*content);
    const ProfileSpot spot = Locate(lines, section, key);
    if (!spot.entry) {
        return {};
    }
    const Text value = CutAtZero(lines[*spot.entry].value);
    // Whole characters only, as many as fit before the terminating zero.
    const std::size_t room = bufferSize - 1;
    std::size_t length = 0;
    while (length < value.size()) {
        const std::size_t next = length + CharLengthAt(value, length);
        if (next > room) {
            break;
        }
        length = next;
    }
    return Text(value.substr(0, length));
}

bool WritePrivateProfileString(std::string_view section, std::string_view key,
                               std::string_view value, const Text& path) {
    section = TrimBlanks(section);
    key = TrimBlanks(key);
    if (!NameCanBeReadBack(section, true) || !NameCanBeReadBack(key, false)) {
        return false;
    }
    std::optional<ByteArray> content = ReadWholeFile(path);
    if (!content) {
        if (GetFileAttributes(path) != kInvalidFileAttributes) {
            return false;  // it is there but cannot be read: never write over it blindly
        }
        content.emplace();
    }
    return WriteFileRefusingReadOnly(path,
                                     WithValue(*content, section, key, SingleLineValue(value)));
}

}  // namespace tavelo
