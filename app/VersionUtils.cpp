#include "app/VersionUtils.h"

#include "core/StringUtils.h"

#ifndef PICTAVO_VERSION
#error "PICTAVO_VERSION is set by the build"
#endif

namespace pictavo::VersionUtils {

std::string GetProductName() {
  return StringUtils::GetLoadString(57344);
}

std::string GetStringProductVersion() {
  return PICTAVO_VERSION;
}

}  // namespace pictavo::VersionUtils
