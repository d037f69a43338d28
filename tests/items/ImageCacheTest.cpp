#include "items/ImageCache.h"

#include <sys/stat.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "support/Fixtures.h"

namespace pictavo {
namespace {

namespace fs = std::filesystem;

ImageCache::Entry MakeEntry(char fill, std::size_t size) {
  ImageCache::Entry entry;
  entry.size = {64, 48};
  entry.sourceSize = {640, 480};
  entry.image.single = std::string(size, fill);
  entry.image.twice = std::string(2 * size, fill);
  entry.small.single = std::string(size / 4, fill);
  return entry;
}

std::vector<fs::path> EntryFiles(const fs::path& folder) {
  std::vector<fs::path> files;
  for (const auto& entry : fs::recursive_directory_iterator(folder)) {
    if (entry.is_regular_file()) files.push_back(entry.path());
  }
  return files;
}

class ImageCacheTest : public ::testing::Test {
 protected:
  void SetUp() override { testing::WriteBytes(m_source, "the source photo"); }
  testing::TempDir m_dir;
  fs::path m_source = m_dir / "a.jpg";
  ImageCache m_cache{m_dir.File("cache"), 1u << 30};
};

TEST_F(ImageCacheTest, ASourceReplacedUnderTheSameNameIsNeverServed) {
  const std::string key = ImageCache::MakeKey(m_source.string(), "photo 1024");
  m_cache.Store(key, MakeEntry('a', 100));
  ASSERT_TRUE(m_cache.Find(key));
  EXPECT_FALSE(m_cache.Find(ImageCache::MakeKey(m_source.string(), "photo 800")));

  // New content of the same length, and the old modification time put back: only the inode
  // tells; then the same file edited in place: only the time tells.
  const auto time = fs::last_write_time(m_source);
  fs::remove(m_source);
  testing::WriteBytes(m_source, "THE SOURCE PHOTO");
  fs::last_write_time(m_source, time);
  const std::string replaced = ImageCache::MakeKey(m_source.string(), "photo 1024");
  EXPECT_FALSE(m_cache.Find(replaced));
  m_cache.Store(replaced, MakeEntry('b', 100));
  std::ofstream(m_source, std::ios::binary | std::ios::in) << "X";
  fs::last_write_time(m_source, time + std::chrono::seconds(1));
  EXPECT_FALSE(m_cache.Find(ImageCache::MakeKey(m_source.string(), "photo 1024")));
  EXPECT_EQ(ImageCache::MakeKey((m_dir / "missing.jpg").string(), "photo 1024"), "");
}

TEST_F(ImageCacheTest, ATruncatedOrDamagedEntryIsAMissAndIsRemoved) {
  const std::string key = ImageCache::MakeKey(m_source.string(), "thumbnail 248");
  for (const auto& damage :
       {+[](const fs::path& file) { fs::resize_file(file, fs::file_size(file) / 2); },
        +[](const fs::path& file) {
          std::fstream out(file, std::ios::binary | std::ios::in | std::ios::out);
          out.seekp(100);
          out.put('\x7f');
        }}) {
    m_cache.Store(key, MakeEntry('a', 1000));
    const std::vector<fs::path> files = EntryFiles(m_dir / "cache");
    ASSERT_EQ(files.size(), 1u);
    damage(files[0]);
    EXPECT_FALSE(m_cache.Find(key));
    EXPECT_FALSE(fs::exists(files[0]));
    m_cache.Store(key, MakeEntry('c', 1000));
    const auto again = m_cache.Find(key);
    ASSERT_TRUE(again);
    EXPECT_EQ(again->image.single, std::string(1000, 'c'));
    EXPECT_EQ(again->image.twice, std::string(2000, 'c'));
    EXPECT_EQ(again->small.single, std::string(250, 'c'));
    EXPECT_EQ(again->sourceSize.width, 640);
  }
}

TEST_F(ImageCacheTest, RunsStoringTheSameEntryAtOnceLeaveAWholeOne) {
  const std::string key = ImageCache::MakeKey(m_source.string(), "photo 1024");
  std::atomic<bool> torn{false};
  std::vector<std::thread> threads;
  for (char fill : {'x', 'y', 'z'}) {
    threads.emplace_back([&, fill] {
      for (int i = 0; i < 20; ++i) {
        m_cache.Store(key, MakeEntry(fill, 40000));
        if (const auto found = m_cache.Find(key)) {
          const char seen = found->image.single.front();
          if (found->image.single != std::string(40000, seen) ||
              found->image.twice != std::string(80000, seen)) {
            torn = true;
          }
        }
      }
    });
  }
  for (std::thread& thread : threads) thread.join();
  EXPECT_FALSE(torn);
  EXPECT_TRUE(m_cache.Find(key));
  EXPECT_EQ(EntryFiles(m_dir / "cache").size(), 1u) << "no temporary file is left behind";
}

TEST_F(ImageCacheTest, TrimRemovesTheLeastRecentlyUsedEntriesFirst) {
  ImageCache small(m_dir.File("cache"), 30000);
  std::vector<std::string> keys;
  for (int i = 0; i < 3; ++i) {
    keys.push_back(ImageCache::MakeKey(m_source.string(), "photo " + std::to_string(i)));
    small.Store(keys.back(), MakeEntry('a', 4000));  // about 13 KB each
  }
  const auto old = fs::file_time_type::clock::now() - std::chrono::hours(2);
  for (const fs::path& file : EntryFiles(m_dir / "cache")) fs::last_write_time(file, old);
  ASSERT_TRUE(small.Find(keys[0]));  // used now
  small.Trim();
  EXPECT_TRUE(small.Find(keys[0]));
  EXPECT_EQ(EntryFiles(m_dir / "cache").size(), 2u);
}

}  // namespace
}  // namespace pictavo
