// The Qt host on the offscreen platform: status writes, questions that really ask with their
// default button, the progress bar and its percentage, and a right click that cancels only
// while a conversion runs.
#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "ui/qt_host.h"

namespace tsn::ui {

class QtHostTest : public QObject {
  Q_OBJECT

 private:
  QWidget window_;
  QPlainTextEdit* status_ = new QPlainTextEdit(&window_);
  QProgressBar* bar_ = new QProgressBar(&window_);
  QLabel* percent_ = new QLabel(&window_);

  QtHost& host() {
    static QtHost h;
    h.set_status_window({&window_, status_, bar_, percent_});
    return h;
  }

  // Answers the next message box by `key` once it is shown; the text it showed is kept.
  void answer_next_box(Qt::Key key, QString* shown) {
    QTimer::singleShot(0, [key, shown] {
      auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      QVERIFY(box != nullptr);
      *shown = box->windowTitle() + "|" + box->text();
      QTest::keyClick(box, key);
    });
  }

 private slots:
  void statusWritesAppendAndCountOnePerWrite() {
    QtHost& h = host();
    h.status_clear();
    h.status_append("\nTranslate a to b");
    h.status_append("\n 3 records processed.\nPoints Processed = 9");
    QCOMPARE(h.status_lines(), 2L);
    QCOMPARE(status_->toPlainText(),
             QString("\nTranslate a to b\n 3 records processed.\nPoints Processed = 9"));
    h.status_clear();
    QCOMPARE(status_->toPlainText(), QString());
  }

  void questionsAskAndEnterTakesTheDefaultButton() {
    QtHost& h = host();
    window_.show();
    const struct {
      Buttons buttons;
      Answer default_answer;
      Qt::Key key;
      Answer expected;
    } cases[] = {
        {Buttons::yes_no, Answer::no, Qt::Key_Return, Answer::no},
        {Buttons::yes_no, Answer::yes, Qt::Key_Return, Answer::yes},
        {Buttons::yes_no, Answer::yes, Qt::Key_Escape, Answer::no},
        {Buttons::ok_cancel, Answer::cancel, Qt::Key_Return, Answer::cancel},
        {Buttons::ok, Answer::ok, Qt::Key_Return, Answer::ok},
    };
    for (const auto& c : cases) {
      QString shown;
      answer_next_box(c.key, &shown);
      QCOMPARE(h.message_box("Save", "out.dxf\nThis file already exists", Icon::question,
                             c.buttons, c.default_answer),
               c.expected);
      QCOMPARE(shown, QString("Save|out.dxf\nThis file already exists"));
    }
  }

  void progressShowsItsPercentage() {
    QtHost& h = host();
    window_.show();
    h.progress_show();
    QVERIFY(bar_->isVisible());
    QCOMPARE(percent_->text(), QString("0 %"));
    h.progress_set(37);
    QCOMPARE(bar_->value(), 37);
    QCOMPARE(percent_->text(), QString("37 %"));
    h.progress_hide();
    QVERIFY(!bar_->isVisible());
    QVERIFY(!percent_->isVisible());
  }

  void aRightClickCancelsOnlyWhileBusy() {
    QtHost& h = host();
    window_.show();
    QTest::mouseClick(status_->viewport(), Qt::RightButton);
    QVERIFY(!h.poll_cancel());
    h.set_busy(true);
    QTest::mouseClick(status_->viewport(), Qt::RightButton);
    QVERIFY(h.poll_cancel());
    QVERIFY(!h.poll_cancel());  // one request, answered once
    h.request_cancel();         // the Cancel button
    QVERIFY(h.poll_cancel());
    h.set_busy(false);
  }
};

}  // namespace tsn::ui

QTEST_MAIN(tsn::ui::QtHostTest)
#include "qt_host_test.moc"
