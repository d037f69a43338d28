#pragma once

// The last error of our own failing calls, as text the user can be shown. Thread-local, so a
// worker thread's failure never overwrites the text the UI thread is about to show.

#include <string>

namespace pictavo::LogUtils {

// Records errnoValue with its system text; when subject is not empty it is named in the text.
void SetLastError(int errnoValue, const std::string& subject = std::string());
// Records a failure that has no errno (for example a refused argument).
void SetLastErrorMessage(const std::string& text);
void ClearLastError();

// errno of the last recorded failure; 0 when none or when only a text was recorded.
int GetLastError();
// Text of the last recorded failure; empty when none.
std::string GetLastErrorMessage();

}  // namespace pictavo::LogUtils
