#include "items/ImageCache.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <system_error>
#include <utility>
#include <vector>

#include "core/FileUtils.h"

namespace pictavo {

namespace fs = std::filesystem;

namespace {

// Bumped whenever the layout of an entry or the meaning of its parts changes.
constexpr char kMagic[] = "PICTAVO-IMAGE-CACHE 1\n";
constexpr const char* kSuffix = ".entry";
// Raised when the same settings start to give other pixels (the scaler changed), so that
// entries with the older pixels are no longer served; the trim then removes them in time.
constexpr int kPixelsRevision = 2;

std::uint64_t Fnv1a(std::string_view bytes) {
  std::uint64_t hash = 1469598103934665603ull;
  for (const unsigned char c : bytes) {
    hash ^= c;
    hash *= 1099511628211ull;
  }
  return hash;
}

std::string Hex(std::uint64_t value) {
  static constexpr char kDigits[] = "0123456789abcdef";
  std::string text(16, '0');
  for (int i = 15; i >= 0; --i, value >>= 4) text[i] = kDigits[value & 0xF];
  return text;
}

void PutNumber(std::string& out, std::uint64_t value) {
  for (int i = 0; i < 8; ++i) out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
}

void PutPart(std::string& out, std::string_view part) {
  PutNumber(out, part.size());
  out.append(part);
}

// Reads what PutNumber and PutPart wrote; every read fails past the end.
class Reader {
 public:
  explicit Reader(std::string_view bytes) : m_bytes(bytes) {}
  bool Number(std::uint64_t& value) {
    if (m_bytes.size() - m_at < 8) return false;
    value = 0;
    for (int i = 0; i < 8; ++i) {
      value |= static_cast<std::uint64_t>(static_cast<unsigned char>(m_bytes[m_at + i])) << (8 * i);
    }
    m_at += 8;
    return true;
  }
  bool Int(int& value) {
    std::uint64_t number = 0;
    if (!Number(number) || number > 0x7FFFFFFF) return false;
    value = static_cast<int>(number);
    return true;
  }
  bool Part(std::string& part) {
    std::uint64_t size = 0;
    if (!Number(size) || size > m_bytes.size() - m_at) return false;
    part.assign(m_bytes.substr(m_at, size));
    m_at += size;
    return true;
  }
  bool AtEnd() const { return m_at == m_bytes.size(); }

 private:
  std::string_view m_bytes;
  std::size_t m_at = 0;
};

// The file's bytes and which file they came from (device and inode).
bool ReadWhole(const std::string& path, std::string& bytes, struct stat& identity) {
  const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  bool ok = fstat(fd, &identity) == 0;
  char buffer[65536];
  while (ok) {
    const ssize_t got = read(fd, buffer, sizeof buffer);
    if (got == 0) break;
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) ok = false;
    if (ok) bytes.append(buffer, static_cast<std::size_t>(got));
  }
  close(fd);
  return ok;
}

// Removes path only while it is still the file that was read: another run may have renamed a
// fresh entry over a damaged one since.
void RemoveIfSame(const std::string& path, const struct stat& identity) {
  struct stat now {};
  if (stat(path.c_str(), &now) == 0 && now.st_dev == identity.st_dev &&
      now.st_ino == identity.st_ino) {
    std::error_code ignored;
    fs::remove(path, ignored);
  }
}

}  // namespace

ImageCache::ImageCache(std::string folder, std::uint64_t limitBytes)
    : m_folder(std::move(folder)), m_limit(limitBytes) {}

std::string ImageCache::MakeKey(const std::string& source, const std::string& shape) {
  struct stat info {};
  if (stat(source.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) return {};
  // A file replaced under the same name has another inode or times, an edit in place another
  // modification time; the change time, which no program can set back, catches a freed inode
  // taken again and a modification time put back. The program's version and the pixels'
  // revision stand for how it scales and encodes.
  const auto time = [](const timespec& t) {
    return std::to_string(t.tv_sec) + "." + std::to_string(t.tv_nsec);
  };
  return std::string(PICTAVO_VERSION) + " " + std::to_string(kPixelsRevision) + "\n" + source +
         "\n" + std::to_string(info.st_dev) + ":" + std::to_string(info.st_ino) + ":" +
         std::to_string(info.st_size) + ":" + time(info.st_mtim) + ":" + time(info.st_ctim) + "\n" +
         shape;
}

std::string ImageCache::PathOf(const std::string& key) const {
  const std::string name = Hex(Fnv1a(key));
  // 256 sub-folders keep each folder small however many photos are cached.
  return FileUtils::GetCombinePath(FileUtils::GetCombinePath(m_folder, name.substr(0, 2)),
                                   name + kSuffix);
}

std::optional<ImageCache::Entry> ImageCache::Find(const std::string& key) const {
  if (key.empty()) return std::nullopt;
  const std::string path = PathOf(key);
  std::string bytes;
  struct stat identity {};
  if (!ReadWhole(path, bytes, identity)) return std::nullopt;
  const std::size_t magic = sizeof kMagic - 1;
  const auto damaged = [&] {
    RemoveIfSame(path, identity);
    return std::nullopt;
  };
  if (bytes.size() < magic + 8 || bytes.compare(0, magic, kMagic) != 0) return damaged();
  const std::string_view body(bytes.data() + magic, bytes.size() - magic - 8);
  std::uint64_t sum = 0;
  Reader tail(std::string_view(bytes).substr(bytes.size() - 8));
  if (!tail.Number(sum) || sum != Fnv1a(body)) return damaged();

  Reader reader(body);
  std::string storedKey;
  Entry entry;
  const bool read = reader.Part(storedKey) && reader.Int(entry.size.width) &&
                    reader.Int(entry.size.height) && reader.Int(entry.sourceSize.width) &&
                    reader.Int(entry.sourceSize.height) && reader.Part(entry.image.single) &&
                    reader.Part(entry.image.twice) && reader.Part(entry.small.single) &&
                    reader.Part(entry.small.twice) && reader.AtEnd();
  if (!read || entry.image.single.empty()) return damaged();
  if (storedKey != key) return std::nullopt;  // another key with the same hash: not ours
  // Least recently used is judged by the modification time.
  std::error_code ignored;
  fs::last_write_time(path, fs::file_time_type::clock::now(), ignored);
  return entry;
}

void ImageCache::Store(const std::string& key, const Entry& entry) const {
  if (key.empty() || entry.image.single.empty()) return;
  std::string bytes = kMagic;
  bytes.reserve(bytes.size() + 8 * 10 + key.size() + entry.image.single.size() +
                entry.image.twice.size() + entry.small.single.size() + entry.small.twice.size());
  PutPart(bytes, key);
  for (const int value :
       {entry.size.width, entry.size.height, entry.sourceSize.width, entry.sourceSize.height}) {
    PutNumber(bytes, static_cast<std::uint64_t>(std::max(0, value)));
  }
  for (const std::string* part :
       {&entry.image.single, &entry.image.twice, &entry.small.single, &entry.small.twice}) {
    PutPart(bytes, *part);
  }
  PutNumber(bytes, Fnv1a(std::string_view(bytes).substr(sizeof kMagic - 1)));
  const std::string path = PathOf(key);
  std::error_code ignored;
  fs::create_directories(fs::path(path).parent_path(), ignored);
  FileUtils::WriteFileAtomic(path, bytes);
}

void ImageCache::Trim() const {
  struct File {
    fs::path path;
    fs::file_time_type time;
    std::uint64_t size;
  };
  std::vector<File> entries;
  std::uint64_t total = 0;
  const auto now = fs::file_time_type::clock::now();
  std::error_code error;
  for (fs::recursive_directory_iterator it(m_folder, error), end; !error && it != end;
       it.increment(error)) {
    if (!it->is_regular_file(error)) continue;
    const fs::path& path = it->path();
    const auto time = it->last_write_time(error);
    const std::uint64_t size = it->file_size(error);
    if (error) continue;
    if (path.extension() != kSuffix) {
      // A temporary file of a run that was killed while it wrote; a live one is seconds old.
      if (path.filename().string().rfind(".pictavo-", 0) == 0 &&
          now - time > std::chrono::hours(1)) {
        fs::remove(path, error);
      }
      continue;
    }
    entries.push_back({path, time, size});
    total += size;
  }
  if (total <= m_limit) return;
  std::sort(entries.begin(), entries.end(),
            [](const File& a, const File& b) { return a.time < b.time; });
  for (const File& file : entries) {
    if (total <= m_limit) break;
    if (fs::remove(file.path, error)) total -= file.size;
  }
}

}  // namespace pictavo
