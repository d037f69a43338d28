#include "core/Profile.h"

#include <fcntl.h>
#include <strings.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <cstring>
#include <fstream>
#include <limits>
#include <system_error>
#include <utility>

#include <unicode/uchar.h>
#include <unicode/unistr.h>

#include "core/LogUtils.h"

namespace pictavo {

namespace fs = std::filesystem;

namespace {

constexpr char kBlanks[] = " \t";

std::string Trim(const std::string& text) {
  const auto first = text.find_first_not_of(kBlanks);
  if (first == std::string::npos) return std::string();
  const auto last = text.find_last_not_of(kBlanks);
  return text.substr(first, last - first + 1);
}

bool IsAscii(const std::string& text) {
  for (const unsigned char c : text) {
    if (c >= 0x80) return false;
  }
  return true;
}

bool SameName(const std::string& a, const std::string& b) {
  if (IsAscii(a) && IsAscii(b)) {
    return a.size() == b.size() && strncasecmp(a.c_str(), b.c_str(), a.size()) == 0;
  }
  return icu::UnicodeString::fromUTF8(a).caseCompare(icu::UnicodeString::fromUTF8(b),
                                                     U_FOLD_CASE_DEFAULT) == 0;
}

// Valid UTF-8 out of any bytes: invalid sequences become U+FFFD, NUL characters are dropped.
std::string CleanUtf8(const std::string& bytes) {
  std::string text;
  icu::UnicodeString::fromUTF8(bytes).toUTF8String(text);
  std::erase(text, '\0');
  return text;
}

std::string Utf16LeToUtf8(const std::string& bytes, std::size_t offset) {
  std::u16string units((bytes.size() - offset) / 2, u'\0');  // an odd last byte is dropped
  for (std::size_t i = 0; i < units.size(); ++i) {
    const auto lo = static_cast<unsigned char>(bytes[offset + 2 * i]);
    const auto hi = static_cast<unsigned char>(bytes[offset + 2 * i + 1]);
    units[i] = static_cast<char16_t>(lo | (hi << 8));
  }
  std::string text;
  // ICU writes U+FFFD for unpaired surrogates.
  icu::UnicodeString(false, units.data(), static_cast<int32_t>(units.size())).toUTF8String(text);
  std::erase(text, '\0');
  return text;
}

std::string Utf8ToUtf16Le(const std::string& text) {
  const icu::UnicodeString units = icu::UnicodeString::fromUTF8(text);
  std::string bytes;
  bytes.reserve(2 + units.length() * 2);
  bytes += "\xFF\xFE";
  for (int32_t i = 0; i < units.length(); ++i) {
    const char16_t unit = units.charAt(i);
    bytes += static_cast<char>(unit & 0xFF);
    bytes += static_cast<char>(unit >> 8);
  }
  return bytes;
}

bool ValidName(const std::string& name, char forbidden) {
  return !name.empty() && Trim(name) == name && name.find_first_of("\r\n") == std::string::npos &&
         name.find(forbidden) == std::string::npos;
}

// What a key line holds so that the read gives value back: blanks or quotes at either end would
// be eaten by the read, so such a value is written inside one pair of quotes.
std::string StoredValue(std::string value) {
  for (char& c : value) {
    if (c == '\r' || c == '\n') c = ' ';
  }
  const bool needsQuotes =
      !value.empty() &&
      (value.front() == ' ' || value.front() == '\t' || value.back() == ' ' ||
       value.back() == '\t' || (value.size() >= 2 && value.front() == '"' && value.back() == '"'));
  return needsQuotes ? "\"" + value + "\"" : value;
}

bool SaveFailed(int error, const fs::path& path) {
  LogUtils::SetLastError(error, path.string());
  return false;
}

// Writes all of bytes to fd; false with errno set on a short write.
bool WriteAll(int fd, const std::string& bytes) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      if (n == 0) errno = EIO;
      return false;
    }
    done += static_cast<std::size_t>(n);
  }
  return true;
}

}  // namespace

Profile Profile::FromText(const std::string& text, Encoding encoding) {
  Profile profile;
  profile.m_encoding = encoding;
  profile.Parse(CleanUtf8(text));
  return profile;
}

bool Profile::Load(const fs::path& path) {
  m_sections.clear();
  m_path = path;
  std::error_code ec;
  if (!fs::exists(path, ec)) return true;
  const auto size = fs::file_size(path, ec);
  if (ec) return SaveFailed(ec.value(), path);
  if (size > kMaxFileBytes) {
    LogUtils::SetLastErrorMessage("The profile file is too large to be read: \"" + path.string() +
                                  "\"");
    return false;
  }
  std::ifstream in(path, std::ios::binary);
  if (!in) return SaveFailed(errno != 0 ? errno : EIO, path);
  std::string bytes(static_cast<std::size_t>(size), '\0');
  in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  bytes.resize(static_cast<std::size_t>(in.gcount()));

  if (bytes.size() >= 2 && bytes.compare(0, 2, "\xFF\xFE") == 0) {
    m_encoding = Encoding::Utf16Le;
    Parse(Utf16LeToUtf8(bytes, 2));
  } else if (bytes.size() >= 3 && bytes.compare(0, 3, "\xEF\xBB\xBF") == 0) {
    m_encoding = Encoding::Utf8Bom;
    Parse(CleanUtf8(bytes.substr(3)));
  } else {
    m_encoding = Encoding::Utf8;
    Parse(CleanUtf8(bytes));
  }
  return true;
}

void Profile::Parse(const std::string& text) {
  m_sections.assign(1, Section{});
  const auto firstBreak = text.find('\n');
  m_lineEnd = (firstBreak != std::string::npos && (firstBreak == 0 || text[firstBreak - 1] != '\r'))
                  ? "\n"
                  : "\r\n";
  std::size_t start = 0;
  while (start < text.size()) {
    auto end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(start, end - start);
    start = end + 1;
    if (!line.empty() && line.back() == '\r') line.pop_back();

    const std::string trimmed = Trim(line);
    const auto close = trimmed.find(']');
    if (!trimmed.empty() && trimmed.front() == '[' && close != std::string::npos) {
      Section section;
      section.hasHeader = true;
      section.name = Trim(trimmed.substr(1, close - 1));
      section.rawHeader = line;
      m_sections.push_back(std::move(section));
      continue;
    }
    Entry entry;
    entry.raw = line;
    const auto equals = trimmed.find('=');
    if (!(trimmed.empty() || trimmed.front() == ';' || equals == std::string::npos ||
          equals == 0)) {
      entry.isKey = true;
      entry.key = Trim(trimmed.substr(0, equals));
      entry.value = Trim(trimmed.substr(equals + 1));
    }
    m_sections.back().entries.push_back(std::move(entry));
  }
}

const Profile::Section* Profile::FindSection(const std::string& name) const {
  for (const auto& section : m_sections) {
    if (section.hasHeader && SameName(section.name, name)) return &section;
  }
  return nullptr;
}

Profile::Section* Profile::FindSection(const std::string& name) {
  return const_cast<Section*>(std::as_const(*this).FindSection(name));
}

const Profile::Entry* Profile::FindEntry(const std::string& section, const std::string& key) const {
  const Section* found = FindSection(section);
  if (found == nullptr) return nullptr;
  for (const auto& entry : found->entries) {
    if (entry.isKey && SameName(entry.key, key)) return &entry;
  }
  return nullptr;
}

bool Profile::HasSection(const std::string& section) const {
  return FindSection(section) != nullptr;
}

bool Profile::HasKey(const std::string& section, const std::string& key) const {
  return FindEntry(section, key) != nullptr;
}

std::string Profile::GetString(const std::string& section, const std::string& key,
                               const std::string& defaultValue) const {
  const Entry* entry = FindEntry(section, key);
  if (entry == nullptr) return defaultValue;
  const std::string& value = entry->value;
  if (value.size() >= 2 && value.front() == '"' && value.back() == '"') {
    return value.substr(1, value.size() - 2);
  }
  return value;
}

int Profile::GetInt(const std::string& section, const std::string& key, int defaultValue) const {
  const Entry* entry = FindEntry(section, key);
  if (entry == nullptr) return defaultValue;
  const std::string& text = entry->value;
  std::size_t i = 0;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  long long magnitude = 0;
  const auto [end, ec] = std::from_chars(text.data() + i, text.data() + text.size(), magnitude);
  // from_chars takes its own minus sign; a second one ("--5", "+-5") is no number.
  if (end == text.data() + i || ec != std::errc() || text[i] == '-') return defaultValue;
  const long long value = negative ? -magnitude : magnitude;
  if (value < std::numeric_limits<int>::min() || value > std::numeric_limits<int>::max()) {
    return defaultValue;
  }
  return static_cast<int>(value);
}

bool Profile::WriteInt(const std::string& section, const std::string& key, int value) {
  return WriteString(section, key, std::to_string(value));
}

bool Profile::WriteString(const std::string& section, const std::string& key,
                          const std::string& value) {
  if (!ValidName(section, ']') || !ValidName(key, '=') || key.front() == ';' ||
      key.front() == '[') {
    LogUtils::SetLastErrorMessage("Invalid profile section or key name: [" + section + "] " + key);
    return false;
  }
  if (m_sections.empty()) m_sections.emplace_back();
  const std::string stored = StoredValue(CleanUtf8(value));
  Section* target = FindSection(section);
  if (target == nullptr) {
    Section added;
    added.hasHeader = true;
    added.name = section;
    m_sections.push_back(std::move(added));
    target = &m_sections.back();
  }
  auto insertAt = target->entries.begin();
  for (auto it = target->entries.begin(); it != target->entries.end(); ++it) {
    if (!it->isKey) continue;
    if (SameName(it->key, key)) {
      if (it->value != stored) {
        it->value = stored;
        it->raw.clear();
      }
      return true;
    }
    insertAt = it + 1;
  }
  Entry entry;
  entry.isKey = true;
  entry.key = key;
  entry.value = stored;
  target->entries.insert(insertAt, std::move(entry));
  return true;
}

std::string Profile::ToText() const {
  return Text("\r\n");
}

std::string Profile::Text(const char* lineEnd) const {
  std::string text;
  for (const auto& section : m_sections) {
    if (section.hasHeader) {
      text += section.rawHeader.empty() ? "[" + section.name + "]" : section.rawHeader;
      text += lineEnd;
    }
    for (const auto& entry : section.entries) {
      text += entry.isKey && entry.raw.empty() ? entry.key + "=" + entry.value : entry.raw;
      text += lineEnd;
    }
  }
  return text;
}

std::string Profile::Encode() const {
  const std::string text = Text(m_lineEnd);
  switch (m_encoding) {
    case Encoding::Utf16Le:
      return Utf8ToUtf16Le(text);
    case Encoding::Utf8Bom:
      return "\xEF\xBB\xBF" + text;
    case Encoding::Utf8:
      break;
  }
  return text;
}

bool Profile::Save() const {
  if (m_path.empty()) {
    LogUtils::SetLastErrorMessage("The profile has no file name.");
    return false;
  }
  return SaveAs(m_path);
}

bool Profile::SaveAs(const fs::path& path) const {
  // Replace the file a link points to, not the link.
  std::error_code ec;
  fs::path target = path;
  if (fs::is_symlink(path, ec)) {
    target = fs::weakly_canonical(path, ec);
    if (ec) return SaveFailed(ec.value(), path);
  }
  const fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(".");
  std::string temp = (folder / ("." + target.filename().string() + ".XXXXXX")).string();
  const int fd = ::mkstemp(temp.data());
  if (fd < 0) return SaveFailed(errno, target);

  mode_t mode = 0644;
  struct stat old {};
  if (::stat(target.c_str(), &old) == 0) mode = old.st_mode & 07777;
  const bool written = ::fchmod(fd, mode) == 0 && WriteAll(fd, Encode()) && ::fsync(fd) == 0;
  const int writeError = errno;
  const bool closed = ::close(fd) == 0;
  if (!written || !closed) {
    const int error = written ? errno : writeError;
    ::unlink(temp.c_str());
    return SaveFailed(error, target);
  }
  if (::rename(temp.c_str(), target.c_str()) != 0) {
    const int error = errno;
    ::unlink(temp.c_str());
    return SaveFailed(error, target);
  }
  return true;
}

}  // namespace pictavo
