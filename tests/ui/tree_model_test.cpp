// The tree window's item model: a model Qt's own checker accepts through inserts,
// deletes and batches, whose batches keep the view's indexes on the same nodes.
#include <QAbstractItemModelTester>
#include <QPersistentModelIndex>
#include <QTest>

#include "ui/track_tree_model.h"
#include "ui/ui_test_main.h"

using meridal::TTrackTreeModel;
using Node = TTrackTreeModel::Node;

class TreeModelTest : public QObject {
  Q_OBJECT

 private slots:
  void qtsCheckerAcceptsEveryChange() {
    TTrackTreeModel model;
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    Node* track = model.Insert(nullptr, -1, "Track", nullptr);
    Node* s1 = model.Insert(track, -1, "Section 1", nullptr);
    Node* s0 = model.Insert(track, 0, "Section 0", nullptr);
    model.Insert(s0, -1, "Wall 0", nullptr);
    model.Insert(s0, 0, "Altitude 0", nullptr);
    model.SetImages(s0, 2, 3);
    model.SetText(s1, "Section 2");
    model.BeginBatch();
    for (int i = 0; i < 5; ++i) model.Insert(s1, -1, "Wall " + std::to_string(i), nullptr);
    model.Delete(s0);
    model.EndBatch();
    QCOMPARE(model.rowCount(model.IndexOf(track)), 1);
    QCOMPARE(model.rowCount(model.IndexOf(s1)), 5);
    QCOMPARE(s1->row, 0);
    QCOMPARE(model.NodeCount(), size_t{7});
  }

  void aBatchKeepsIndexesOnTheirNodes() {
    TTrackTreeModel model;
    Node* track = model.Insert(nullptr, -1, "Track", nullptr);
    std::vector<Node*> sections;
    for (int i = 0; i < 4; ++i) sections.push_back(model.Insert(track, -1, "Section " + std::to_string(i), nullptr));
    QPersistentModelIndex third(model.IndexOf(sections[2]));
    QPersistentModelIndex first(model.IndexOf(sections[0]));
    model.BeginBatch();
    model.Insert(track, 0, "Section new", nullptr);
    model.Delete(sections[0]);
    model.EndBatch();
    QVERIFY(!first.isValid());
    QCOMPARE(third.row(), 2);  // one added before it, one removed before it
    QCOMPARE(third.data().toString(), QStringLiteral("Section 2"));
  }
};

MERIDAL_UI_TEST_MAIN(TreeModelTest)
#include "tree_model_test.moc"
