// A long analysis seen through by the program: its positions reach the
// window's own bar at once, a progress window opens only once the job has
// taken a while, and Esc there asks the job to stop.
#include <QApplication>
#include <QLabel>
#include <QProgressBar>
#include <QtTest>

#include "base/qt/ProgressWindow.h"
#include "support/RecordingSink.h"

using namespace quodle;

class TProgressWindowTest : public QObject {
    Q_OBJECT
private slots:
    void ShortJobShowsNoWindow() {
        QWidget owner;
        testing::TRecordingSink bar;
        {
            TStoppableProgress progress(bar, &owner, QStringLiteral("解析"), QStringLiteral("解析しています．"), 60000);
            progress.SetPosition(40);
            QCOMPARE(progress.Position(), 40);
            QVERIFY(!progress.Window());
            QVERIFY(!progress.StopAsked());
        }
        QCOMPARE(bar.seen, std::vector<int>{40});
    }

    void EscInTheWindowAsksToStop() {
        QWidget owner;
        owner.show();
        testing::TRecordingSink bar;
        bar.SetMaximum(200);  // a bar of another range: the window shows a share
        const QString text = QStringLiteral("解析しています．Esc キーで中止します．");
        TStoppableProgress progress(bar, &owner, QStringLiteral("解析"), text, 0);
        progress.SetPosition(50);
        TProgressWindow* window = progress.Window();
        QVERIFY(window && window->isVisible());
        QCOMPARE(window->Label1->text(), text);
        QCOMPARE(window->ProgressBar1->value(), 25);
        QCOMPARE(QApplication::activeModalWidget(), window);
        QVERIFY(!progress.StopAsked());
        QTest::keyClick(window, Qt::Key_Escape);
        // The window stays until the job has stopped; the bar goes on.
        progress.SetPosition(60);
        QVERIFY(progress.StopAsked());
        QVERIFY(window->isVisible());
        progress.SetPosition(0);
        QVERIFY(progress.StopAsked());
        QCOMPARE(bar.seen, (std::vector<int>{50, 60, 0}));
    }
};

QTEST_MAIN(TProgressWindowTest)
#include "tst_ProgressWindow.moc"
