// The validating edit: messages made from labels, range messages, and the focus after a fault.
#include <QtTest>

#include <QVBoxLayout>
#include <QWidget>

#include "app/ValidateEdit.h"

using pictavo::app::CValidateEdit;

class ValidateEditTest : public QObject {
  Q_OBJECT

 private slots:
  void init() {
    m_reported.clear();
    CValidateEdit::SetReporter([this](QWidget*, const QString& message) { m_reported << message; });
  }
  void cleanup() { CValidateEdit::SetReporter({}); }

  void LabelBecomesTheMessage_data() {
    QTest::addColumn<QString>("label");
    QTest::addColumn<QString>("message");
    QTest::newRow("accelerator and colon") << "既定のファイル名(&N):"
                                           << "既定のファイル名を入力してください。";
    QTest::newRow("colon only") << "ホームページ URL:"
                                << "ホームページ URLを入力してください。";
    QTest::newRow("no colon keeps the accelerator") << "見出し(&H)"
                                                    << "見出し(&H)を入力してください。";
    QTest::newRow("accelerator inside stays") << "A(&N) B:"
                                              << "A(&N) Bを入力してください。";
    QTest::newRow("empty brackets") << "名前(&):"
                                    << "名前を入力してください。";
    QTest::newRow("two colons lose one") << "時刻::"
                                         << "時刻:を入力してください。";
    QTest::newRow("percent s in the label") << "100%s(&P):"
                                            << "100%sを入力してください。";
    QTest::newRow("empty label") << ""
                                 << "を入力してください。";
  }
  void LabelBecomesTheMessage() {
    QFETCH(QString, label);
    QFETCH(QString, message);
    QCOMPARE(pictavo::app::MakeFieldErrorMessage(label), message);
  }

  void IntegerFieldsAcceptOnlyTheRange_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("accepted");
    QTest::newRow("lower bound") << "1" << true;
    QTest::newRow("upper bound with blanks and sign") << " +16 " << true;
    QTest::newRow("zero") << "0" << false;
    QTest::newRow("above") << "17" << false;
    QTest::newRow("negative") << "-3" << false;
    QTest::newRow("empty") << "" << false;
    QTest::newRow("letters") << "abc" << false;
    QTest::newRow("decimal") << "1.5" << false;
    QTest::newRow("overflow") << "99999999999" << false;
    QTest::newRow("full-width digits") << "１６" << false;
    QTest::newRow("trailing garbage") << "8x" << false;
  }
  void IntegerFieldsAcceptOnlyTheRange() {
    QFETCH(QString, text);
    QFETCH(bool, accepted);
    CValidateEdit edit;
    edit.SetIntegerRange(1, 16);
    edit.setText(text);
    QCOMPARE(edit.Validate(), accepted);
    const QStringList expected =
        accepted ? QStringList() : QStringList{"1 から 16 までの整数を入力してください。"};
    QCOMPARE(m_reported, expected);
  }

  void DecimalFieldsAcceptOnlyTheRange_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("accepted");
    QTest::newRow("lowest") << "0.1" << true;
    QTest::newRow("highest") << "10.0" << true;
    QTest::newRow("no leading digit") << ".5" << true;
    QTest::newRow("just above") << "10.05" << false;
    QTest::newRow("just below") << "0.09" << false;
    QTest::newRow("exponent") << "1e1" << false;
    QTest::newRow("decimal comma") << "3,0" << false;
    QTest::newRow("nan") << "nan" << false;
    QTest::newRow("inf") << "inf" << false;
    QTest::newRow("empty") << "" << false;
  }
  void DecimalFieldsAcceptOnlyTheRange() {
    QFETCH(QString, text);
    QFETCH(bool, accepted);
    CValidateEdit edit;
    edit.SetDecimalRange(0.1, 10.0);
    edit.setText(text);
    QCOMPARE(edit.Validate(), accepted);
    const QStringList expected =
        accepted ? QStringList() : QStringList{"0.1 から 10 までの数字を入力してください。"};
    QCOMPARE(m_reported, expected);
  }

  void EmptyRequiredFieldReportsItsMessageAndTakesTheFocus() {
    QWidget window;
    auto* layout = new QVBoxLayout(&window);
    auto* other = new QLineEdit(&window);
    auto* field = new CValidateEdit(&window);
    layout->addWidget(other);
    layout->addWidget(field);
    field->SetErrorMessage(pictavo::app::MakeFieldErrorMessage("タイトル(&T):"));
    window.show();
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    other->setFocus();
    QTRY_VERIFY(other->hasFocus());

    QVERIFY(!field->Validate());
    QCOMPARE(m_reported, QStringList{"タイトルを入力してください。"});
    QTRY_VERIFY(field->hasFocus());

    field->setText(" ");  // a blank is text: only an empty field is refused
    QVERIFY(field->Validate());
    QCOMPARE(m_reported.size(), 1);
  }

  void OptionalFieldMayStayEmpty() {
    CValidateEdit field;
    QVERIFY(field.Validate());
    QVERIFY(m_reported.isEmpty());
  }

 private:
  QStringList m_reported;
};

QTEST_MAIN(ValidateEditTest)
#include "ValidateEditTest.moc"
