#include <QtTest>
class TestEditing : public QObject { Q_OBJECT };
QTEST_MAIN(TestEditing)
#include "tst_editing.moc"
