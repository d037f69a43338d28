#include "core/LogUtils.h"

#include <cstring>
#include <system_error>

namespace pictavo::LogUtils {

namespace {

thread_local int t_lastError = 0;
thread_local std::string t_lastMessage;

}  // namespace

void SetLastError(int errnoValue, const std::string& subject) {
  t_lastError = errnoValue;
  // std::generic_category gives strerror's text without strerror's shared buffer.
  t_lastMessage = std::generic_category().message(errnoValue);
  if (!subject.empty()) t_lastMessage += ": \"" + subject + "\"";
}

void SetLastErrorMessage(const std::string& text) {
  t_lastError = 0;
  t_lastMessage = text;
}

void ClearLastError() {
  t_lastError = 0;
  t_lastMessage.clear();
}

int GetLastError() {
  return t_lastError;
}

std::string GetLastErrorMessage() {
  return t_lastMessage;
}

}  // namespace pictavo::LogUtils
