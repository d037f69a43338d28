#include "album/OutputFuncs.h"

#include <mutex>

namespace pictavo::OutputFuncs {

namespace {

struct RegisteredPath {
  std::mutex mutex;
  std::string path;
};

RegisteredPath& Registered() {
  static RegisteredPath registered;
  return registered;
}

}  // namespace

void SetOutputFilePath(const std::string& path) {
  auto& registered = Registered();
  const std::lock_guard lock(registered.mutex);
  registered.path = path;
}

std::string GetOutputFilePath() {
  auto& registered = Registered();
  const std::lock_guard lock(registered.mutex);
  return registered.path;
}

std::string GetGeneratorOutputString() {
  return std::string("Pictavo ") + PICTAVO_VERSION;
}

}  // namespace pictavo::OutputFuncs
