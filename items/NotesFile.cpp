#include "items/NotesFile.h"

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <unordered_map>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <unicode/utf8.h>

#include "core/FileUtils.h"
#include "core/Host.h"
#include "core/LogUtils.h"
#include "core/StringUtils.h"
#include "items/ItemList.h"

namespace pictavo {

namespace {

constexpr StringId kSelectItemsTextId = StringId::SelectItems;  // "項目を選択してください。"
constexpr StringId kLoadedTextId = StringId::FileLoaded;  // "ファイルの読み込みが完了しました。"
constexpr StringId kSavedTextId = StringId::FileSaved;  // "ファイルの保存が完了しました。"
constexpr char kUtf8Mark[] = "\xEF\xBB\xBF";
// A notes file is text of a few kilobytes; anything this large is not one.
constexpr std::uintmax_t kMaxNotesFileBytes = 256u * 1024 * 1024;

void AppendUtf8(std::string& out, char32_t cp) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (cp >> 18));
    out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

bool IsScalarValue(std::uint32_t cp) {
  return cp > 0 && cp <= 0x10FFFF && (cp < 0xD800 || cp > 0xDFFF);
}

// The code point of a numeric entity body ("#10", "#x2C"), or 0 when it is not one.
std::uint32_t NumericEntity(const std::string& body) {
  if (body.size() < 2 || body[0] != '#') return 0;
  const bool hex = body[1] == 'x' || body[1] == 'X';
  const std::size_t start = hex ? 2 : 1;
  if (start >= body.size() || body.size() - start > 8) return 0;
  std::uint32_t value = 0;
  for (std::size_t i = start; i < body.size(); ++i) {
    const char c = body[i];
    int digit;
    if (c >= '0' && c <= '9') {
      digit = c - '0';
    } else if (hex && c >= 'a' && c <= 'f') {
      digit = c - 'a' + 10;
    } else if (hex && c >= 'A' && c <= 'F') {
      digit = c - 'A' + 10;
    } else {
      return 0;
    }
    value = value * (hex ? 16 : 10) + static_cast<std::uint32_t>(digit);
    if (value > 0x10FFFF) return 0;
  }
  return IsScalarValue(value) ? value : 0;
}

std::string DecodeUtf16Le(const std::string& bytes, std::size_t start) {
  std::string out;
  out.reserve(bytes.size());
  const auto unit = [&](std::size_t at) {
    return static_cast<std::uint16_t>(static_cast<unsigned char>(bytes[at]) |
                                      (static_cast<unsigned char>(bytes[at + 1]) << 8));
  };
  // An odd last byte cannot be a code unit and is dropped.
  for (std::size_t i = start; i + 1 < bytes.size(); i += 2) {
    const std::uint16_t u = unit(i);
    if (u >= 0xD800 && u <= 0xDBFF && i + 3 < bytes.size()) {
      const std::uint16_t low = unit(i + 2);
      if (low >= 0xDC00 && low <= 0xDFFF) {
        AppendUtf8(out, 0x10000 + ((u - 0xD800) << 10) + (low - 0xDC00));
        i += 2;
        continue;
      }
    }
    AppendUtf8(out, (u >= 0xD800 && u <= 0xDFFF) ? 0xFFFD : u);
  }
  return out;
}

std::string ErrorText(int error) {
  return std::strerror(error);
}

// The whole file, or the message of the failure. Anything but a regular file is refused before
// a read could wait on it, and an oversized file before any of it is read.
std::string ReadWholeFile(const std::string& path, std::string* bytes) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) return ErrorText(errno);
  struct stat info {};
  std::string error;
  if (::fstat(fd, &info) != 0) {
    error = ErrorText(errno);
  } else if (S_ISDIR(info.st_mode)) {
    error = ErrorText(EISDIR);
  } else if (!S_ISREG(info.st_mode)) {
    error = "the notes file is not a regular file: \"" + path + "\"";
  } else if (static_cast<std::uintmax_t>(info.st_size) > kMaxNotesFileBytes) {
    error = "the notes file is larger than " + std::to_string(kMaxNotesFileBytes >> 20) +
            " MB, so it is no notes file: \"" + path + "\"";
  }
  char buffer[64 * 1024];
  while (error.empty()) {
    const ssize_t got = ::read(fd, buffer, sizeof buffer);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) error = ErrorText(errno);
    if (got <= 0) break;
    bytes->append(buffer, static_cast<std::size_t>(got));
    if (bytes->size() > kMaxNotesFileBytes) error = ErrorText(EFBIG);  // it grew meanwhile
  }
  ::close(fd);
  return error;
}

bool IsUtf8(const std::string& text) {
  const auto* s = reinterpret_cast<const uint8_t*>(text.data());
  const auto length = static_cast<int32_t>(text.size());
  for (int32_t i = 0; i < length;) {
    UChar32 c;
    U8_NEXT(s, i, length, c);
    if (c <= 0) return false;  // NUL bytes: UTF-16 or UTF-32 without its mark
  }
  return true;
}

}  // namespace

namespace NotesFormat {

std::string EncodeText(const std::string& text) {
  std::string out;
  out.reserve(text.size());
  for (char c : text) {
    switch (c) {
      case '&':
        out += "&amp;";
        break;
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      case '"':
        out += "&quot;";
        break;
      case ',':
        out += "&#44;";
        break;
      case '\r':
        out += "&#13;";
        break;
      case '\n':
        out += "&#10;";
        break;
      default:
        out += c;
    }
  }
  return out;
}

std::string DecodeText(const std::string& text) {
  static const std::pair<const char*, char> kNamed[] = {
      {"amp", '&'}, {"lt", '<'}, {"gt", '>'}, {"quot", '"'}, {"apos", '\''}};
  std::string out;
  out.reserve(text.size());
  std::size_t i = 0;
  while (i < text.size()) {
    if (text[i] == '&') {
      const std::size_t end = text.find(';', i + 1);
      if (end != std::string::npos && end - i <= 11) {
        const std::string body = text.substr(i + 1, end - i - 1);
        bool decoded = false;
        for (const auto& [name, c] : kNamed) {
          if (body == name) {
            out += c;
            decoded = true;
            break;
          }
        }
        if (!decoded) {
          if (const std::uint32_t cp = NumericEntity(body)) {
            AppendUtf8(out, cp);
            decoded = true;
          }
        }
        if (decoded) {
          i = end + 1;
          continue;
        }
      }
    }
    out += text[i++];
  }
  return out;
}

std::string FormatLine(const std::string& path, const std::string& note) {
  return "\"" + EncodeText(path) + "\",\"" + EncodeText(note) + "\",\r\n";
}

std::vector<std::string> SplitFields(const std::string& line) {
  std::vector<std::string> fields(1);
  bool quoted = false;
  for (std::size_t i = 0; i < line.size(); ++i) {
    const char c = line[i];
    if (quoted) {
      if (c != '"') {
        fields.back() += c;
      } else if (i + 1 < line.size() && line[i + 1] == '"') {
        fields.back() += '"';
        ++i;
      } else {
        quoted = false;
      }
    } else if (c == '"') {
      quoted = true;
    } else if (c == ',') {
      fields.emplace_back();
    } else {
      fields.back() += c;
    }
  }
  return fields;
}

bool ParseLine(const std::string& line, std::string* path, std::string* note) {
  const std::vector<std::string> fields = SplitFields(line);
  if (fields.size() < 2 || fields[0].empty()) return false;
  *path = DecodeText(fields[0]);
  *note = DecodeText(fields[1]);
  return true;
}

std::string DecodeFileBytes(const std::string& bytes) {
  if (bytes.size() >= 2 && bytes[0] == '\xFF' && bytes[1] == '\xFE') {
    return DecodeUtf16Le(bytes, 2);
  }
  if (bytes.compare(0, 3, kUtf8Mark) == 0) return bytes.substr(3);
  return bytes;
}

std::string GetUnreadEncoding(const std::string& bytes) {
  if (bytes.compare(0, 4, std::string("\0\0\xFE\xFF", 4)) == 0) return "UTF-32BE";
  if (bytes.compare(0, 4, std::string("\xFF\xFE\0\0", 4)) == 0) return "UTF-32LE";
  if (bytes.compare(0, 2, "\xFF\xFE") == 0) return {};
  if (bytes.compare(0, 2, "\xFE\xFF") == 0) return "UTF-16BE";
  if (bytes.find('\0') != std::string::npos) return "UTF-16 or UTF-32 without a byte-order mark";
  // Our own files carry the mark and may hold any bytes a path has; without it, text that is
  // not UTF-8 is in some code page.
  if (bytes.compare(0, 3, kUtf8Mark) != 0 && !IsUtf8(bytes)) {
    return "a code page other than UTF-8 (such as Shift_JIS)";
  }
  return {};
}

std::vector<std::string> SplitLines(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(std::move(line));
    start = end + 1;
  }
  return lines;
}

}  // namespace NotesFormat

bool SaveNotesFile(const ItemList& list, const std::string& path, Host& host) {
  // Assembled first and written with one write: the mark goes only with the first line.
  std::string text;
  Pump& pump = host.GetPump();
  for (int row = 0; row < list.RowCount(); ++row) {
    if (!pump.PumpMessages()) return false;
    const ALBUMITEM& item = list.RowItem(row);
    if (!item.note.empty()) text += NotesFormat::FormatLine(item.fullPath, item.note);
  }
  if (!text.empty()) text.insert(0, kUtf8Mark);
  // The user's earlier notes stay whole until the new file is complete on the disk.
  if (!FileUtils::WriteFileAtomic(path, text, true)) {
    host.ShowMessage(LogUtils::GetLastErrorMessage());
    return false;
  }
  return true;
}

bool LoadNotesFile(ItemList& list, const std::string& path, Host& host, NotesLoadCount* count) {
  std::string bytes;
  if (const std::string error = ReadWholeFile(path, &bytes); !error.empty()) {
    host.ShowMessage(error);
    return false;
  }
  // Read as UTF-8 it would match nothing and look like an empty file.
  if (const std::string encoding = NotesFormat::GetUnreadEncoding(bytes); !encoding.empty()) {
    host.ShowMessage("the notes file is in " + encoding +
                     ", which is not read (UTF-8, or UTF-16LE with its byte-order mark): \"" +
                     path + "\"");
    return false;
  }
  const std::string text = NotesFormat::DecodeFileBytes(bytes);
  NotesLoadCount counted;
  // First row of each path; rebuilt if a pumped message changes the rows.
  std::unordered_map<std::string, int> firstRow;
  std::uint64_t generation = list.Generation() + 1;
  Pump& pump = host.GetPump();
  for (const std::string& line : NotesFormat::SplitLines(text)) {
    if (!pump.PumpMessages()) return false;
    std::string key;
    std::string note;
    if (!NotesFormat::ParseLine(line, &key, &note)) continue;
    ++counted.notes;
    if (generation != list.Generation()) {
      generation = list.Generation();
      firstRow.clear();
      for (int row = list.RowCount() - 1; row >= 0; --row) {
        firstRow[list.RowItem(row).fullPath] = row;
      }
    }
    const auto it = firstRow.find(key);
    if (it != firstRow.end()) {
      list.SetRowNote(it->second, note);
      ++counted.matched;
    }
  }
  if (count) *count = counted;
  return true;
}

bool CheckNotesTicks(const ItemList& list, Host& host) {
  if (list.IsAnyRowChecked()) return true;
  host.ShowMessage(StringUtils::GetLoadString(kSelectItemsTextId));
  return false;
}

bool LoadNotesCommand(ItemList& list, Host& host, const NotesPathChooser& choosePath) {
  if (!CheckNotesTicks(list, host)) return false;
  const std::optional<std::string> path = choosePath ? choosePath() : std::nullopt;
  std::error_code ec;
  if (!path || path->empty() || !std::filesystem::exists(*path, ec)) return false;
  if (!LoadNotesFile(list, *path, host)) return false;
  host.ShowMessage(StringUtils::GetLoadString(kLoadedTextId), MessageIcon::Information);
  return true;
}

bool SaveNotesCommand(const ItemList& list, Host& host, const NotesPathChooser& choosePath) {
  if (!CheckNotesTicks(list, host)) return false;
  const std::optional<std::string> path = choosePath ? choosePath() : std::nullopt;
  if (!path || path->empty()) return false;
  if (!SaveNotesFile(list, *path, host)) return false;
  host.ShowMessage(StringUtils::GetLoadString(kSavedTextId), MessageIcon::Information);
  return true;
}

}  // namespace pictavo
