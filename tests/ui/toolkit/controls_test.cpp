// Controls: options and their groups, lists, combo boxes, progress bars, edits and labels.
#include <gtest/gtest.h>

#include <QLineEdit>
#include <QTest>
#include <QTreeView>

#include "ui/support/ui_test_support.h"
#include "ui/toolkit/button.h"
#include "ui/toolkit/combo.h"
#include "ui/toolkit/container.h"
#include "ui/toolkit/edit.h"
#include "ui/toolkit/label.h"
#include "ui/toolkit/list.h"
#include "ui/toolkit/progress.h"

namespace forge::ui {
namespace {

using test::ActivePackage;
using test::LayoutWindow;
using test::PackageWith;

constexpr const char* kControlsLayout = R"(
<Window size="500,400">
  <VerticalLayout name="root">
    <HorizontalLayout height="30">
      <Option name="OptA" group="nav" selected="true"/>
      <Option name="OptB" group="nav"/>
      <Option name="OptC" group="other"/>
      <CheckBox name="check"/>
    </HorizontalLayout>
    <Combo name="combo" height="30"/>
    <Progress name="bar" height="10" min="0" max="100"/>
    <Edit name="edit" height="30" text="start"/>
    <List name="list" menu="true" itemheight="20">
      <ListHeader height="24">
        <ListHeaderItem name="col0" text="Name" width="200"/>
        <ListHeaderItem name="col1" text="Size" width="100"/>
        <ListHeaderItem name="col2" text="Type"/>
      </ListHeader>
    </List>
  </VerticalLayout>
</Window>)";

class ControlsTest : public ::testing::Test {
 protected:
  ControlsTest() : active_(PackageWith({{"xml/c.xml", kControlsLayout}})), window_("xml/c.xml") {
    EXPECT_TRUE(window_.Create(nullptr));
    window_.ShowWindow();
    test::ProcessEventsUntil([this] { return !window_.received.empty(); });
    window_.received.clear();
  }

  // (type, sender name, wParam, lParam) of what the window received.
  std::vector<std::tuple<QString, QString, int64_t, int64_t>> Received() const {
    std::vector<std::tuple<QString, QString, int64_t, int64_t>> seen;
    for (const auto& n : window_.received) {
      seen.emplace_back(n.type, n.sender ? n.sender->Name() : QString(), n.wParam, n.lParam);
    }
    return seen;
  }

  static std::unique_ptr<ListRow> Row(const QString& name, uint64_t tag = 0) {
    auto row = std::make_unique<ListRow>();
    row->SetText(0, name);
    row->SetTag(tag);
    return row;
  }

  ActivePackage active_;
  LayoutWindow window_;
};

TEST_F(ControlsTest, OptionsOfAGroupSelectOneAtATime) {
  auto* a = window_.FindControl<OptionUI>("OptA");
  auto* b = window_.FindControl<OptionUI>("OptB");
  auto* c = window_.FindControl<OptionUI>("OptC");
  auto* check = window_.FindControl<CheckBoxUI>("check");
  EXPECT_TRUE(a->IsSelected());
  test::Click(window_, "OptB");
  EXPECT_FALSE(a->IsSelected());
  EXPECT_TRUE(b->IsSelected());
  EXPECT_FALSE(c->IsSelected());
  // A click again on the selected option of a group keeps it selected and notifies nothing new.
  test::Click(window_, "OptB");
  EXPECT_TRUE(b->IsSelected());
  // Without a group a click toggles, and each change is notified.
  test::Click(window_, "check");
  test::Click(window_, "check");
  EXPECT_FALSE(check->IsSelected());
  using R = std::tuple<QString, QString, int64_t, int64_t>;
  EXPECT_EQ(Received(), (std::vector<R>{{"click", "OptB", 0, 0},
                                        {"selectchanged", "OptB", 0, 0},
                                        {"click", "OptB", 0, 0},
                                        {"click", "check", 0, 0},
                                        {"selectchanged", "check", 0, 0},
                                        {"click", "check", 0, 0},
                                        {"selectchanged", "check", 0, 0}}));
  // Selecting in code notifies only when asked.
  window_.received.clear();
  a->Selected(true, false);
  EXPECT_TRUE(window_.received.empty());
  EXPECT_FALSE(b->IsSelected());
  EXPECT_EQ(check->GetClass(), "CheckBoxUI");
}

TEST_F(ControlsTest, ListRowsKeepTheirTextsTagsAndOrder) {
  auto* list = window_.FindControl<ListUI>("list");
  ASSERT_NE(list, nullptr);
  EXPECT_EQ(list->ColumnCount(), 3);
  EXPECT_EQ(list->View()->columnWidth(0), 200);
  EXPECT_EQ(list->View()->columnWidth(1), 100);
  ListRow* first = list->AddRow(Row("first", 1));
  ListRow* third = list->AddRow(Row("third", 3));
  ListRow* second = list->InsertRow(1, Row("second", 2));
  EXPECT_EQ(list->InsertRow(9, Row("nowhere")), nullptr);
  EXPECT_EQ(list->RowCount(), 3);
  EXPECT_EQ(second->Index(), 1);
  EXPECT_EQ(third->Owner(), list);
  second->SetText(2, "Folder");
  second->SetUserData("/data/second");
  EXPECT_EQ(list->RowAt(1)->Text(2), "Folder");
  EXPECT_EQ(list->RowAt(1)->Text(5), "");
  EXPECT_EQ(list->View()->model()->data(list->View()->model()->index(1, 2)).toString(), "Folder");
  EXPECT_EQ(list->RowAt(0)->Tag(), 1u);
  EXPECT_TRUE(list->RemoveRow(first));
  EXPECT_EQ(list->IndexOf(second), 0);
  EXPECT_FALSE(list->RemoveRow(5));
  list->RemoveAllRows();
  EXPECT_EQ(list->RowCount(), 0);
}

TEST_F(ControlsTest, ListSelectionAndClicksAreNotified) {
  auto* list = window_.FindControl<ListUI>("list");
  for (int i = 0; i < 5; ++i) list->AddRow(Row(QString("row %1").arg(i)));
  EXPECT_EQ(list->SelectedIndex(), -1);
  EXPECT_TRUE(list->SelectRow(2));
  EXPECT_TRUE(list->SelectRow(3, false));
  EXPECT_EQ(list->SelectedIndex(), 3);
  // A user's click: the selection changes, then the click; a double click opens the row.
  QTreeView* view = list->View();
  const QPoint row1 = view->visualRect(view->model()->index(1, 0)).center();
  QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, row1);
  QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, row1);
  using R = std::tuple<QString, QString, int64_t, int64_t>;
  const auto received = Received();
  ASSERT_GE(received.size(), 4u);
  EXPECT_EQ(received[0], R("itemselect", "list", 2, -1));
  EXPECT_EQ(received[1], R("itemselect", "list", 1, 3));
  EXPECT_EQ(received[2], R("itemclick", "list", 1, 0));
  EXPECT_EQ(std::get<0>(received.back()), "list_item_dbclick");
  EXPECT_EQ(window_.received.back().row, list->RowAt(1));
  // Removing the selected row leaves none selected and tells nobody.
  window_.received.clear();
  list->RemoveRow(1);
  EXPECT_EQ(list->SelectedIndex(), -1);
  EXPECT_TRUE(window_.received.empty());
  EXPECT_FALSE(list->SelectRow(7));
}

TEST_F(ControlsTest, HiddenRowsTakeNoRoom) {
  auto* list = window_.FindControl<ListUI>("list");
  auto hidden = Row("hidden");
  hidden->SetVisible(false);
  list->AddRow(Row("a"));
  list->AddRow(std::move(hidden));
  ListRow* c = list->AddRow(Row("c"));
  QTreeView* view = list->View();
  EXPECT_TRUE(view->isRowHidden(1, {}));
  EXPECT_EQ(view->visualRect(view->model()->index(2, 0)).top(), 20);
  c->SetVisible(false);
  list->RowAt(1)->SetVisible(true);
  EXPECT_TRUE(view->isRowHidden(2, {}));
  EXPECT_FALSE(view->isRowHidden(1, {}));
  // Rows keep their flags when rows before them go.
  list->RemoveRow(0);
  EXPECT_TRUE(view->isRowHidden(1, {}));
}

TEST_F(ControlsTest, ListOfAHundredThousandRowsScrolls) {
  auto* list = window_.FindControl<ListUI>("list");
  for (int i = 0; i < 100000; ++i) list->AddRow(Row(QString::number(i)));
  EXPECT_EQ(list->RowCount(), 100000);
  QCoreApplication::processEvents();  // the view lays its rows out after the change
  EXPECT_GT(list->ScrollRange(), 1900000);
  list->SetScrollPosition(list->ScrollRange());
  EXPECT_EQ(list->ScrollPosition(), list->ScrollRange());
  EXPECT_TRUE(list->SelectRow(99999));
  QCoreApplication::processEvents();
  list->RemoveAllRows();
  QCoreApplication::processEvents();
  EXPECT_EQ(list->ScrollRange(), 0);
}

TEST_F(ControlsTest, RightClickOnAMenuListSendsMenuWithThePoint) {
  auto* list = window_.FindControl<ListUI>("list");
  list->AddRow(Row("only"));
  QTreeView* view = list->View();
  const QPoint point = view->visualRect(view->model()->index(0, 0)).center();
  QContextMenuEvent event(QContextMenuEvent::Mouse, point, view->viewport()->mapToGlobal(point));
  QCoreApplication::sendEvent(view->viewport(), &event);
  ASSERT_EQ(window_.received.size(), 1u);
  EXPECT_EQ(window_.received[0].type, "menu");
  EXPECT_EQ(window_.received[0].row, list->RowAt(0));
  EXPECT_EQ(window_.received[0].point, view->viewport()->mapTo(&window_, point));
}

TEST_F(ControlsTest, ComboSelectionsAreNotifiedWithNewAndOldPosition) {
  auto* combo = window_.FindControl<ComboUI>("combo");
  EXPECT_EQ(combo->AddItem("4.7GB DVD Media"), 0);
  EXPECT_EQ(combo->AddItem("25GB BD Media", "bd"), 1);
  // Adding entries selects nothing and notifies nothing.
  EXPECT_EQ(combo->CurSel(), -1);
  EXPECT_TRUE(window_.received.empty());
  EXPECT_TRUE(combo->SelectItem(1));
  EXPECT_TRUE(combo->SelectItem(0, false));
  EXPECT_FALSE(combo->SelectItem(2));
  EXPECT_EQ(combo->Text(), "4.7GB DVD Media");
  EXPECT_EQ(combo->ItemUserData(1), "bd");
  using R = std::tuple<QString, QString, int64_t, int64_t>;
  EXPECT_EQ(Received(), (std::vector<R>{{"itemselect", "combo", 1, -1}}));
  combo->RemoveAll();
  EXPECT_EQ(combo->ItemCount(), 0);
  EXPECT_EQ(combo->CurSel(), -1);
}

TEST_F(ControlsTest, ProgressClampsWhatItDrawsAndTakesValuesFromAnyThread) {
  auto* bar = window_.FindControl<ProgressUI>("bar");
  struct Case {
    int value;
    double share;
  };
  for (const Case& c : {Case{0, 0}, Case{42, 0.42}, Case{100, 1}, Case{250, 1}, Case{-5, 0}}) {
    bar->SetValue(c.value);
    EXPECT_DOUBLE_EQ(bar->FilledShare(), c.share) << c.value;
  }
  std::thread([bar] { bar->SetValue(64); }).join();
  EXPECT_EQ(bar->Value(), -5);  // queued, not applied yet
  test::ProcessEventsUntil([bar] { return bar->Value() == 64; });
  EXPECT_EQ(bar->Value(), 64);
}

TEST_F(ControlsTest, EditKeepsItsTextInStep) {
  auto* edit = window_.FindControl<EditUI>("edit");
  EXPECT_EQ(edit->LineEdit()->text(), "start");
  edit->SetText("20240101120000");
  EXPECT_EQ(edit->LineEdit()->text(), "20240101120000");
  edit->LineEdit()->setFocus();
  edit->LineEdit()->selectAll();
  QTest::keyClicks(edit->LineEdit(), "LABEL");
  EXPECT_EQ(edit->Text(), "LABEL");
  ASSERT_FALSE(window_.received.empty());
  EXPECT_EQ(window_.received.back().type, "textchanged");
  // Attribute lists given at run time.
  EXPECT_TRUE(edit->ApplyAttributeList(uR"(readonly="true" maxchar="16")"));
  EXPECT_TRUE(edit->LineEdit()->isReadOnly());
  EXPECT_FALSE(edit->ApplyAttributeList(uR"(readonly="maybe")"));
  auto* root = window_.FindControl<ContainerUI>("root");
  EXPECT_TRUE(root->ApplyAttributeList(uR"(inset="2,0,0,0")"));
  EXPECT_EQ(root->Inset(), QMargins(2, 0, 0, 0));
}

TEST_F(ControlsTest, TextsSetFromAnotherThreadArriveInOrder) {
  auto* edit = window_.FindControl<EditUI>("edit");
  std::thread([edit] {
    for (int i = 0; i < 100; ++i) edit->SetText(QString::number(i));
  }).join();
  test::ProcessEventsUntil([edit] { return edit->Text() == "99"; });
  EXPECT_EQ(edit->Text(), "99");
}

}  // namespace
}  // namespace forge::ui
