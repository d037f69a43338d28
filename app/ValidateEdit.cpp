#include "app/ValidateEdit.h"

#include <QLocale>
#include <QMessageBox>
#include <QRegularExpression>

#include <boost/regex.hpp>
#include <cmath>
#include <string>

#include "core/StringUtils.h"

namespace pictavo::app {

namespace {

constexpr int kIdEnterField = 10234;  // "%sを入力してください。"
constexpr int kIdApplicationTitle = 57344;
// The range messages of the validating edits (the framework's own range check in the design).
const char* const kIntegerRangeFormat = "%s から %s までの整数を入力してください。";
const char* const kDecimalRangeFormat = "%s から %s までの数字を入力してください。";

QString FillFormat(QString format, const QString& first, const QString& second = QString()) {
  const int at = format.indexOf(QStringLiteral("%s"));
  if (at < 0) return format;
  format.replace(at, 2, first);
  const int next = format.indexOf(QStringLiteral("%s"), at + first.size());
  if (next >= 0) format.replace(next, 2, second);
  return format;
}

QString Decimal(double value) {
  return QLocale::c().toString(value, 'g', 15);
}

void ShowWarning(QWidget* field, const QString& message) {
  QMessageBox box(QMessageBox::Warning,
                  QString::fromStdString(StringUtils::GetLoadString(kIdApplicationTitle)), message,
                  QMessageBox::Ok, field ? field->window() : nullptr);
  box.exec();
}

CValidateEdit::Reporter& CurrentReporter() {
  static CValidateEdit::Reporter reporter;
  return reporter;
}

}  // namespace

QString MakeFieldErrorMessage(const QString& label) {
  // Wide-character pattern: the label is Japanese, and "." must match one character, not a byte.
  static const boost::wregex kAcceleratorAndColon(LR"((\(&.?\))?:$)");
  const std::wstring bare =
      boost::regex_replace(label.toStdWString(), kAcceleratorAndColon, std::wstring());
  return FillFormat(QString::fromStdString(StringUtils::GetLoadString(kIdEnterField)),
                    QString::fromStdWString(bare));
}

QString MakeIntegerRangeMessage(int min, int max) {
  return FillFormat(QString::fromUtf8(kIntegerRangeFormat), QString::number(min),
                    QString::number(max));
}

QString MakeDecimalRangeMessage(double min, double max) {
  return FillFormat(QString::fromUtf8(kDecimalRangeFormat), Decimal(min), Decimal(max));
}

std::optional<int> ParseInteger(const QString& text) {
  static const QRegularExpression kInteger(QStringLiteral(R"(^\s*[+-]?[0-9]+\s*$)"));
  if (!kInteger.match(text).hasMatch()) return std::nullopt;
  bool ok = false;
  const int value = QLocale::c().toInt(text.trimmed().remove(QLatin1Char('+')), &ok);
  if (!ok) return std::nullopt;
  return value;
}

std::optional<double> ParseDecimal(const QString& text) {
  static const QRegularExpression kDecimal(
      QStringLiteral(R"(^\s*[+-]?([0-9]+\.?[0-9]*|\.[0-9]+)\s*$)"));
  if (!kDecimal.match(text).hasMatch()) return std::nullopt;
  bool ok = false;
  const double value = QLocale::c().toDouble(text.trimmed().remove(QLatin1Char('+')), &ok);
  if (!ok || !std::isfinite(value)) return std::nullopt;
  return value;
}

CValidateEdit::CValidateEdit(QWidget* parent) : QLineEdit(parent) {}

void CValidateEdit::SetErrorMessage(const QString& message) {
  m_errorMessage = message;
}

void CValidateEdit::SetIntegerRange(int min, int max) {
  m_kind = Kind::Integer;
  m_min = min;
  m_max = max;
}

void CValidateEdit::SetDecimalRange(double min, double max) {
  m_kind = Kind::Decimal;
  m_min = min;
  m_max = max;
}

QString CValidateEdit::CheckText() const {
  switch (m_kind) {
    case Kind::Text:
      return text().isEmpty() ? m_errorMessage : QString();
    case Kind::Integer: {
      const std::optional<int> value = ParseInteger(text());
      if (value && *value >= m_min && *value <= m_max) return QString();
      return MakeIntegerRangeMessage(static_cast<int>(m_min), static_cast<int>(m_max));
    }
    case Kind::Decimal: {
      const std::optional<double> value = ParseDecimal(text());
      if (value && *value >= m_min && *value <= m_max) return QString();
      return MakeDecimalRangeMessage(m_min, m_max);
    }
  }
  return QString();
}

bool CValidateEdit::Validate() {
  const QString message = CheckText();
  if (message.isEmpty()) return true;
  Report(this, message);
  setFocus(Qt::OtherFocusReason);
  selectAll();
  return false;
}

void CValidateEdit::SetReporter(Reporter reporter) {
  CurrentReporter() = std::move(reporter);
}

void CValidateEdit::Report(QWidget* field, const QString& message) {
  if (CurrentReporter()) {
    CurrentReporter()(field, message);
  } else {
    ShowWarning(field, message);
  }
}

}  // namespace pictavo::app
