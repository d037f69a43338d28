#pragma once

// The few Exiv2 calls whose names changed in 0.28 (Debian 13) from 0.27 (Debian 12).

#include <cstdint>
#include <memory>
#include <string>

#include <exiv2/exiv2.hpp>

namespace pictavo::Exiv2Compat {

// The image of a file read through a plain file reader, so that the name is never taken for a
// URL or for standard input; null when Exiv2 knows no such format.
inline auto OpenFile(const std::string& path) {
#if EXIV2_TEST_VERSION(0, 28, 0)
  return Exiv2::ImageFactory::open(std::make_unique<Exiv2::FileIo>(path));
#else
  Exiv2::BasicIo::AutoPtr io(new Exiv2::FileIo(path));
  return Exiv2::ImageFactory::open(io);
#endif
}

// Component n of an integer value.
inline std::int64_t ToInteger(const Exiv2::Exifdatum& datum, std::size_t n = 0) {
#if EXIV2_TEST_VERSION(0, 28, 0)
  return datum.toInt64(n);
#else
  return datum.toLong(static_cast<long>(n));
#endif
}

}  // namespace pictavo::Exiv2Compat
