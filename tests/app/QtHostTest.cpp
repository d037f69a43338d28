#include <QLineEdit>
#include <QMainWindow>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

#include "app/OutputSettingsDlg.h"
#include "app/QtHost.h"
#include "support/TestHost.h"

using pictavo::MessageButtons;
using pictavo::MessageIcon;
using pictavo::MessageResult;
using pictavo::ProgressKind;
using namespace pictavo::app;

namespace {

template <typename Window>
Window* FindWindow() {
  for (QWidget* widget : QApplication::topLevelWidgets()) {
    if (auto* window = qobject_cast<Window*>(widget)) return window;
  }
  return nullptr;
}

}  // namespace

class QtHostTest : public QObject {
  Q_OBJECT

 private slots:
  // The scan learns of a cancel after the window is gone, and the window stays usable while
  // its owner is disabled during the scan.
  void CancelOutlivesTheInsertWindow() {
    QMainWindow owner;
    owner.show();
    QtHost host(&owner);
    auto progress = host.CreateProgressWindow(ProgressKind::InsertFiles);
    progress->Show();
    owner.setEnabled(false);
    QPointer<CProgressInsertFilesDlg> dialog = FindWindow<CProgressInsertFilesDlg>();
    QVERIFY(dialog != nullptr);
    QCOMPARE(dialog->windowTitle(), QStringLiteral("項目の挿入"));
    QCOMPARE(dialog->Text(0), QStringLiteral("項目を挿入しています。お待ちください。"));
    QCOMPARE(dialog->Text(1), QStringLiteral("準備しています..."));
    QVERIFY(dialog->isVisible());
    const QPoint offset = dialog->frameGeometry().center() - owner.frameGeometry().center();
    QVERIFY2(offset.manhattanLength() <= 2, "centred over the main window");
    QCOMPARE(dialog->Bar()->maximum(), 0);  // marquee
    QVERIFY(!progress->IsCancelled());

    QVERIFY(dialog->CancelButton()->isEnabled());
    QTest::mouseClick(dialog->CancelButton(), Qt::LeftButton);
    QVERIFY(progress->IsCancelled());
    QVERIFY(progress->IsDestroyed());
    QTRY_VERIFY(dialog == nullptr);
    progress->SetText(1, "a.jpg を挿入しています...");  // the loop may still write to it
    progress->Hide();
    QVERIFY(progress->IsCancelled());
  }

  void ItemsWindowCountsAfterARangeIsSet() {
    QMainWindow owner;
    QtHost host(&owner);
    auto progress = host.CreateProgressWindow(ProgressKind::Items);
    auto* dialog = FindWindow<CProgressItemsDlg>();
    QVERIFY(dialog != nullptr);
    QCOMPARE(dialog->windowTitle(), QStringLiteral("Pictavo"));
    QCOMPARE(dialog->Text(0), QStringLiteral("お待ちください。"));
    progress->SetText(0, "選択した項目を出力しています。お待ちください。");
    progress->Show();
    progress->SetRange(10, 50);
    progress->SetPos(30);
    QCOMPARE(dialog->Bar()->minimum(), 10);
    QCOMPARE(dialog->Bar()->maximum(), 50);
    QCOMPARE(dialog->Bar()->value(), 30);
    progress->SetRange(0, 0);
    QCOMPARE(dialog->Bar()->maximum(), 0);
    QPointer<CProgressItemsDlg> alive(dialog);
    progress->Destroy();
    QVERIFY(alive == nullptr);
    QVERIFY(progress->IsDestroyed());
    QVERIFY(!progress->IsCancelled());
  }

  void PumpRunsPendingWorkAndEndsTheLoopOnAQuit() {
    QtHost host;
    host.GetQtPump().SetInterval(std::chrono::milliseconds(0));
    bool ran = false;
    QTimer::singleShot(0, [&ran] { ran = true; });
    QVERIFY(host.GetPump().PumpMessages());
    QVERIFY(ran);

    QCoreApplication::postEvent(QCoreApplication::instance(), new QEvent(QEvent::Quit));
    QVERIFY(!host.GetPump().PumpMessages());
    // The quit is kept for the main loop, so the next loop ends as well.
    QVERIFY(!host.GetPump().PumpMessages());
    QCoreApplication::removePostedEvents(QCoreApplication::instance(), QEvent::Quit);
    QVERIFY(host.GetPump().PumpMessages());
  }

  void MessageBoxHasTheJapaneseButtonsAndTheTextsLines() {
    const auto box = CreateMessageBox(nullptr, "一行目\r\n\r\n二行目", MessageIcon::Question,
                                      MessageButtons::YesNoCancel);
    QCOMPARE(box->windowTitle(), QStringLiteral("Pictavo"));
    QCOMPARE(box->text(), QStringLiteral("一行目\n\n二行目"));
    QCOMPARE(box->icon(), QMessageBox::Question);
    QCOMPARE(box->button(QMessageBox::Yes)->text(), QStringLiteral("はい"));
    QCOMPARE(box->button(QMessageBox::No)->text(), QStringLiteral("いいえ"));
    QCOMPARE(box->button(QMessageBox::Cancel)->text(), QStringLiteral("キャンセル"));
    QCOMPARE(box->defaultButton(), box->button(QMessageBox::Yes));

    const auto plain = CreateMessageBox(nullptr, "フォルダーをドロップしてください。",
                                        MessageIcon::None, MessageButtons::Ok);
    QCOMPARE(plain->icon(), QMessageBox::NoIcon);
    QCOMPARE(plain->buttons().size(), 1);
    QCOMPARE(plain->button(QMessageBox::Ok)->text(), QStringLiteral("OK"));

    QCOMPARE(ToMessageResult(QMessageBox::No, MessageButtons::YesNoCancel), MessageResult::No);
    QCOMPARE(ToMessageResult(-1, MessageButtons::YesNo), MessageResult::No);
    QCOMPARE(ToMessageResult(-1, MessageButtons::YesNoCancel), MessageResult::Cancel);
  }

  // The real dialog behind the host, answered by the test support's modal answerer.
  void OutputSettingsDialogHandsBackTheEditedValues() {
    QtHost host;
    testing::ModalAnswerer answerer;
    answerer.m_answer = [](void* widget, const testing::ModalAnswerer::Seen&) {
      auto* dialog = qobject_cast<COutputSettingsDlg*>(static_cast<QWidget*>(widget));
      if (dialog == nullptr) return false;
      dialog->Edit(pictavo::OutputSettingsModel::Field::FolderName)->setText("旅行 & 2024");
      dialog->OkButton()->click();
      return true;
    };
    QTemporaryDir location;
    pictavo::OutputSettingsValues values;
    values.folderName = "Pictavo1";
    values.location = location.path().toStdString();
    values.title = values.header = "trip";
    QVERIFY(host.ShowOutputSettings(values));
    QCOMPARE(values.folderName, std::string("旅行 & 2024"));
    QCOMPARE(values.title, std::string("trip"));
    QCOMPARE(answerer.m_seen.size(), std::size_t{1});
    QCOMPARE(answerer.m_seen[0].title, std::string("出力先の設定"));
  }
};

QTEST_MAIN(QtHostTest)
#include "QtHostTest.moc"
