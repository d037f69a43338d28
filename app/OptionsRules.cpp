#include "app/OptionsRules.h"

#include <QLocale>

#include <algorithm>
#include <cmath>
#include <optional>

#include "app/ValidateEdit.h"
#include "core/StringUtils.h"

namespace pictavo::app::OptionsRules {

namespace {

QString Load(StringId id) {
  return QString::fromStdString(StringUtils::GetLoadString(id));
}

}  // namespace

QStringList PhotoSizeRows() {
  const auto sized = [](StringId id, int pixels) {
    return QStringLiteral("%1: %2").arg(Load(id)).arg(pixels);
  };
  return {Load(StringId::SizeOriginal), sized(StringId::SizeLarge, 1024),
          sized(StringId::SizeMedium, 800), sized(StringId::SizeSmall, 640),
          Load(StringId::SizeCustom)};
}

QStringList ThumbnailSizeRows() {
  return {Load(StringId::SizeLarge), Load(StringId::SizeMedium), Load(StringId::SizeSmall)};
}

QStringList ThumbnailLinkRows() {
  return {Load(StringId::LinkPhoto), Load(StringId::LinkPhotoPage), Load(StringId::LinkNothing)};
}

QStringList StartupAddressRows() {
  return {Load(StringId::StartupSpecificFolder), Load(StringId::StartupBlankAddress),
          Load(StringId::StartupRestoreLast)};
}

QStringList IntervalRows() {
  return {Load(StringId::Daily), Load(StringId::Weekly), Load(StringId::Monthly)};
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
