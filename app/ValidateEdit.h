#pragma once

// The validating edit of the dialogs: a required field reports a message made from its label,
// a numeric field reports the range it accepts; either way the focus goes back into the field.
// The texts and number checks are plain functions so tests need no widget for them.

#include <QLineEdit>
#include <QString>

#include <functional>
#include <optional>

namespace pictavo::app {

// "既定のファイル名(&N):" -> "既定のファイル名を入力してください。": a trailing accelerator in
// brackets and the colon are removed, and the rest fills "%sを入力してください。".
QString MakeFieldErrorMessage(const QString& label);

// "1 から 16 までの整数を入力してください。"
QString MakeIntegerRangeMessage(int min, int max);
// "0.1 から 10 までの数字を入力してください。"
QString MakeDecimalRangeMessage(double min, double max);

// The whole text (blanks around allowed) as a decimal integer with an optional sign; nothing
// for anything else, including a value that does not fit an int.
std::optional<int> ParseInteger(const QString& text);
// The whole text as a finite decimal number with "." as the point, whatever the locale.
std::optional<double> ParseDecimal(const QString& text);

class CValidateEdit : public QLineEdit {
  Q_OBJECT

 public:
  explicit CValidateEdit(QWidget* parent = nullptr);

  // A non-empty message makes the field required; it is what an empty field reports.
  void SetErrorMessage(const QString& message);
  QString GetErrorMessage() const { return m_errorMessage; }

  // Numeric fields: the text must be a number within the bounds.
  void SetIntegerRange(int min, int max);
  void SetDecimalRange(double min, double max);

  // The message the current text deserves, empty when the text is acceptable.
  QString CheckText() const;

  // CheckText(); on a fault the message is reported and the field takes the focus with its
  // text selected. True when the text is acceptable.
  bool Validate();

  // Whoever shows the messages: a warning box by default; tests record them instead.
  using Reporter = std::function<void(QWidget* field, const QString& message)>;
  static void SetReporter(Reporter reporter);  // an empty reporter restores the box
  static void Report(QWidget* field, const QString& message);

 private:
  enum class Kind { Text, Integer, Decimal };
  QString m_errorMessage;
  Kind m_kind = Kind::Text;
  double m_min = 0;
  double m_max = 0;
};

}  // namespace pictavo::app
