#include "app/OptionsRules.h"

#include <QLocale>

#include <algorithm>
#include <cmath>
#include <optional>

#include "app/ValidateEdit.h"
#include "core/StringUtils.h"

namespace pictavo::app::OptionsRules {

namespace {

QString Load(int id) {
  return QString::fromStdString(StringUtils::GetLoadString(id));
}

}  // namespace

QStringList PhotoSizeRows() {
  const auto sized = [](int id, int pixels) {
    return QStringLiteral("%1: %2").arg(Load(id)).arg(pixels);
  };
  return {Load(10631), sized(10632, 1024), sized(10633, 800), sized(10634, 640), Load(10635)};
}

QStringList ThumbnailSizeRows() {
  return {Load(10632), Load(10633), Load(10634)};
}

QStringList ThumbnailLinkRows() {
  return {Load(10722), Load(10721), Load(10723)};
}

QStringList StartupAddressRows() {
  return {Load(11001), Load(11002), Load(11003)};
}

QStringList IntervalRows() {
  return {Load(10181), Load(10182), Load(10183)};
}

int ResolveChoice(int previous, int requested, bool dependentWasEnabled, bool dependentValid) {
  if (requested != previous && dependentWasEnabled && !dependentValid) return previous;
  return requested;
}

QString FormatDuration(double seconds) {
  return QLocale::c().toString(seconds, 'f', 1);
}

QString StepDuration(const QString& text, int steps) {
  const double current = ParseDecimal(text).value_or(0.0);
  // Work in tenths so that repeated steps do not drift (0.1 has no exact binary form).
  const double tenths = std::round(current * 10.0) + steps;
  const double clamped = std::clamp(tenths / 10.0, kMinDuration, kMaxDuration);
  return FormatDuration(clamped);
}

QString StepInteger(const QString& text, int steps, int min, int max) {
  const std::optional<int> current = ParseInteger(text);
  if (!current) return QString::number(steps > 0 ? min : max);
  const long long next = static_cast<long long>(*current) + steps;
  return QString::number(std::clamp<long long>(next, min, max));
}

}  // namespace pictavo::app::OptionsRules
