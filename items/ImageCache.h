#pragma once

// Finished image files of earlier runs, so that a re-run, a preview or a new album folder of the
// same photos copies them instead of decoding the sources again. One entry is one file named by
// a hash of its key; it holds the whole key, the sizes, the encoded copies and a checksum, so a
// hash collision or a truncated or damaged entry (a killed run, a full disk) is a miss, and a
// damaged one is removed. Entries are written under a temporary name and renamed, so runs that
// share the folder see whole entries or none. Thread-safe: workers look up and store at once.

#include <cstdint>
#include <optional>
#include <string>

#include "items/ImageUtils.h"

namespace pictavo {

class ImageCache {
 public:
  struct Entry {
    ImageUtils::ImageSize size;        // of the 1x image
    ImageUtils::ImageSize sourceSize;  // upright size of the source
    ImageUtils::ScaledBytes image;
    ImageUtils::ScaledBytes small;  // a second size made from the same decode; may be empty
  };

  // limitBytes: what Trim keeps at most.
  ImageCache(std::string folder, std::uint64_t limitBytes);

  // The key of the source file as it is now (path, device, inode, size, modification and change
  // times) and of shape, everything else that decides the output. Empty when the source cannot be
  // read, and then nothing is looked up or stored.
  static std::string MakeKey(const std::string& source, const std::string& shape);

  // The entry of key; a hit counts as a use for Trim.
  std::optional<Entry> Find(const std::string& key) const;
  // Best effort: a full disk or a read-only cache costs only the next run's time.
  void Store(const std::string& key, const Entry& entry) const;
  // Removes the least recently used entries until the folder holds at most the limit, and the
  // temporary files that killed runs left behind.
  void Trim() const;

  const std::string& Folder() const { return m_folder; }

 private:
  std::string PathOf(const std::string& key) const;

  std::string m_folder;
  std::uint64_t m_limit;
};

}  // namespace pictavo
