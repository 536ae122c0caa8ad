// Windows: finding controls, notifications, control timers, close codes from any thread, the
// caption and border rule, dragging, sizing and centring.
#include <gtest/gtest.h>

#include <QTest>
#include <QTimer>
#include <atomic>
#include <thread>

#include "ui/support/ui_test_support.h"
#include "ui/toolkit/button.h"
#include "ui/toolkit/label.h"
#include "ui/toolkit/skin_window.h"

namespace forge::ui {
namespace {

using test::ActivePackage;
using test::LayoutWindow;
using test::PackageWith;
using test::ProcessEventsUntil;

// A window with a caption band of 40 pixels holding one control of each kind that matters to
// the caption rule, and a size box of 4 pixels.
constexpr const char* kWindowLayout = R"(
<Window size="300,200" mininfo="200,120" caption="0,0,0,40" sizebox="4,4,4,4">
  <VerticalLayout name="root">
    <HorizontalLayout name="caption" height="40">
      <Label name="title" width="100"/>
      <Button name="button" width="40"/>
      <Option name="option" width="40"/>
      <Text name="text" width="40"/>
      <Edit name="edit" width="40"/>
      <Control/>
    </HorizontalLayout>
    <VerticalLayout name="body">
      <Label name="below" height="40"/>
      <HorizontalLayout name="nested" height="30"><Label name="deep"/></HorizontalLayout>
      <Label name="hidden" height="10" visible="false"/>
    </VerticalLayout>
  </VerticalLayout>
</Window>)";

class WindowTest : public ::testing::Test {
 protected:
  WindowTest() : active_(PackageWith({{"xml/w.xml", kWindowLayout}})), window_("xml/w.xml") {
    EXPECT_TRUE(window_.Create(nullptr));
  }

  QPoint Centre(const char* name) {
    auto* control = window_.FindControl(name);
    return control->mapTo(&window_, control->rect().center());
  }

  std::vector<QString> ReceivedTypes() const {
    std::vector<QString> types;
    for (const auto& notification : window_.received) types.push_back(notification.type);
    return types;
  }

  ActivePackage active_;
  LayoutWindow window_;
};

TEST_F(WindowTest, FindsControlsByNameAndByPoint) {
  EXPECT_EQ(window_.FindControl("root"), window_.Root());
  EXPECT_EQ(window_.FindControl("deep")->Name(), "deep");
  EXPECT_EQ(window_.FindControl("Deep"), nullptr);
  EXPECT_EQ(window_.FindControl("nothing"), nullptr);
  EXPECT_NE(window_.FindControl<ButtonUI>("button"), nullptr);
  EXPECT_EQ(window_.FindControl<ButtonUI>("title"), nullptr);
  EXPECT_EQ(window_.FindControlAt(Centre("deep"))->Name(), "deep");
  EXPECT_EQ(window_.FindControlAt(Centre("button"))->Name(), "button");
  // The edit's own line edit belongs to the edit control.
  EXPECT_EQ(window_.FindControlAt(Centre("edit"))->Name(), "edit");
  EXPECT_EQ(window_.FindControlAt(QPoint(500, 500)), nullptr);
}

TEST_F(WindowTest, CaptionBandDragsExceptOverButtonsOptionsAndTexts) {
  struct Case {
    const char* what;
    QPoint at;
    HitArea::Kind kind;
  };
  const Case cases[] = {
      {"label in the band", Centre("title"), HitArea::Kind::Caption},
      {"empty band", QPoint(280, 20), HitArea::Kind::Caption},
      {"edit in the band", Centre("edit"), HitArea::Kind::Caption},
      {"button in the band", Centre("button"), HitArea::Kind::Client},
      {"option in the band", Centre("option"), HitArea::Kind::Client},
      {"text in the band", Centre("text"), HitArea::Kind::Client},
      {"label below the band", Centre("below"), HitArea::Kind::Client},
      {"last row of the band", QPoint(50, 39), HitArea::Kind::Caption},
      {"first row below it", QPoint(50, 40), HitArea::Kind::Client},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(window_.HitTest(c.at).kind, c.kind) << c.what;
  }
}

TEST_F(WindowTest, SizeBoxResizesUnlessMaximised) {
  struct Case {
    QPoint at;
    Qt::Edges edges;
  };
  for (const Case& c :
       {Case{{1, 100}, Qt::LeftEdge}, Case{{298, 100}, Qt::RightEdge}, Case{{150, 2}, Qt::TopEdge},
        Case{{150, 197}, Qt::BottomEdge}, Case{{299, 199}, Qt::RightEdge | Qt::BottomEdge},
        Case{{0, 0}, Qt::LeftEdge | Qt::TopEdge}}) {
    const HitArea hit = window_.HitTest(c.at);
    EXPECT_EQ(hit.kind, HitArea::Kind::Border) << c.at.x() << "," << c.at.y();
    EXPECT_EQ(hit.edges, c.edges) << c.at.x() << "," << c.at.y();
  }
  window_.showMaximized();
  EXPECT_NE(window_.HitTest({1, 100}).kind, HitArea::Kind::Border);
}

TEST_F(WindowTest, PressInTheCaptionDragsTheWindow) {
  window_.ShowWindow();
  window_.move(100, 100);
  auto* title = window_.FindControl("title");
  QTest::mousePress(title, Qt::LeftButton, {}, QPoint(10, 10));
  QTest::mouseMove(title, QPoint(40, 30));
  QTest::mouseRelease(title, Qt::LeftButton, {}, QPoint(40, 30));
  EXPECT_EQ(window_.pos(), QPoint(130, 120));
  // A press on a button in the band, or below the band, leaves the window where it is.
  for (const char* name : {"button", "below"}) {
    auto* control = window_.FindControl(name);
    QTest::mousePress(control, Qt::LeftButton, {}, QPoint(5, 5));
    QTest::mouseMove(control, QPoint(35, 25));
    QTest::mouseRelease(control, Qt::LeftButton, {}, QPoint(35, 25));
    EXPECT_EQ(window_.pos(), QPoint(130, 120)) << name;
  }
}

TEST_F(WindowTest, DraggingTheBorderResizesDownToTheMinimum) {
  window_.ShowWindow();
  window_.setGeometry(50, 50, 300, 200);
  auto* root = window_.Root();
  QTest::mousePress(root, Qt::LeftButton, {}, QPoint(298, 100));
  QTest::mouseMove(root, QPoint(338, 110));
  QTest::mouseRelease(root, Qt::LeftButton, {}, QPoint(338, 110));
  EXPECT_EQ(window_.size(), QSize(340, 200));
  QTest::mousePress(root, Qt::LeftButton, {}, QPoint(150, 198));
  QTest::mouseMove(root, QPoint(150, 0));
  QTest::mouseRelease(root, Qt::LeftButton, {}, QPoint(150, 0));
  EXPECT_EQ(window_.size(), QSize(340, 120));
  // The controls follow the new size.
  EXPECT_EQ(window_.Root()->size(), QSize(340, 120));
}

TEST_F(WindowTest, NotificationsReachTheSendersHandlersThenTheWindow) {
  std::vector<QString> order;
  auto* button = window_.FindControl("button");
  button->AddNotifyHandler([&order](Notification& n) {
    order.push_back("first " + n.type);
    return true;  // informational: the window still gets it
  });
  button->AddNotifyHandler([&order](Notification& n) {
    order.push_back("second " + n.type);
    return false;
  });
  window_.ShowWindow();
  ASSERT_TRUE(ProcessEventsUntil([&] { return !window_.received.empty(); }));
  test::Click(window_, "button");
  EXPECT_EQ(order, (std::vector<QString>{"first click", "second click"}));
  EXPECT_EQ(ReceivedTypes(), (std::vector<QString>{"windowinit", "click"}));
  const Notification& click = window_.received.back();
  EXPECT_EQ(click.sender, button);
  EXPECT_EQ(click.point, Centre("button"));
  // "windowinit" comes once, from the root, even when the window is shown again.
  EXPECT_EQ(window_.received.front().sender, window_.Root());
  window_.ShowWindow(false);
  window_.ShowWindow(true);
  QCoreApplication::processEvents();
  EXPECT_EQ(ReceivedTypes(), (std::vector<QString>{"windowinit", "click"}));
  // A disabled or hidden button sends nothing.
  button->SetEnabled(false);
  test::Click(window_, "button");
  EXPECT_EQ(window_.received.size(), 2u);
}

TEST_F(WindowTest, ControlTimersTickWithTheirIdentifierUntilKilled) {
  auto* title = window_.FindControl("title");
  auto* deep = window_.FindControl("deep");
  int titleTicks = 0, deepTicks = 0;
  title->AddNotifyHandler([&](Notification& n) {
    if (n.type == u"timer" && n.wParam == 7) ++titleTicks;
    return false;
  });
  deep->AddNotifyHandler([&](Notification& n) {
    if (n.type == u"timer") ++deepTicks;
    return false;
  });
  window_.SetTimer(title, 7, 5);
  // Starting a timer that runs leaves it as it is: no restart with the longer period.
  window_.SetTimer(title, 7, 60000);
  // Timers started from another thread run on the window's thread.
  std::thread([&] {
    window_.SetTimer(deep, 1, 5);
    window_.SetTimer(deep, 2, 5);
  }).join();
  ASSERT_TRUE(ProcessEventsUntil([&] { return titleTicks >= 3 && deepTicks >= 6; }));
  EXPECT_TRUE(window_.HasTimer(title, 7));
  window_.KillTimer(title, 7);
  window_.KillTimers(deep);
  EXPECT_FALSE(window_.HasTimer(title, 7));
  EXPECT_FALSE(window_.HasTimer(deep, 1));
  const int titleBefore = titleTicks, deepBefore = deepTicks;
  QTest::qWait(40);
  EXPECT_EQ(titleTicks, titleBefore);
  EXPECT_EQ(deepTicks, deepBefore);
  // A timer whose control goes away stops with it.
  window_.SetTimer(deep, 3, 5);
  delete deep;
  const size_t received = window_.received.size();
  QTest::qWait(30);
  EXPECT_EQ(window_.received.size(), received);
}

TEST_F(WindowTest, CloseCodeComesFromAnotherThreadAndTheFirstRequestWins) {
  std::thread worker([this] {
    window_.Close(3);
    window_.Close(4);
  });
  EXPECT_EQ(window_.RunModal(), 3);
  worker.join();
  EXPECT_TRUE(window_.HasEnded());
  EXPECT_FALSE(window_.isVisible());
  // Requests after the end change nothing, and a second run answers the same code.
  window_.Close(9);
  QCoreApplication::processEvents();
  EXPECT_EQ(window_.RunModal(), 3);
}

TEST_F(WindowTest, ManyThreadsClosingAtOnceEndTheWindowOnce) {
  std::atomic<bool> go{false};
  std::vector<std::thread> threads;
  for (int code = 10; code < 14; ++code) {
    threads.emplace_back([&, code] {
      while (!go) std::this_thread::yield();
      for (int i = 0; i < 100; ++i) window_.Close(code);
    });
  }
  go = true;
  const int code = window_.RunModal();
  for (auto& thread : threads) thread.join();
  QCoreApplication::processEvents();
  EXPECT_GE(code, 10);
  EXPECT_LE(code, 13);
  EXPECT_EQ(window_.CloseCode(), code);
}

TEST_F(WindowTest, EscapeClosesWithOneByDefault) {
  QTimer::singleShot(1, [this] { test::PressKey(window_, Qt::Key_Escape); });
  EXPECT_EQ(window_.RunModal(), 1);
}

TEST(Centring, CentresOnTheOwnerInsideTheWorkArea) {
  const QRect work(0, 0, 1920, 1040);
  const QSize popup(400, 200);
  struct Case {
    const char* what;
    QRect owner;
    QPoint expected;
  };
  const Case cases[] = {
      {"centred", QRect(460, 220, 1000, 600), QPoint(760, 420)},
      {"owner partly off the left", QRect(-900, 100, 1000, 600), QPoint(0, 300)},
      {"owner partly off the right", QRect(1500, 100, 1000, 600), QPoint(1520, 300)},
      {"owner partly off the top", QRect(300, -580, 1000, 600), QPoint(600, 0)},
      {"owner partly off the bottom", QRect(300, 900, 1000, 600), QPoint(600, 840)},
      {"owner smaller than the popup", QRect(100, 100, 100, 50), QPoint(0, 25)},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(CenteredPosition(c.owner, popup, work), c.expected) << c.what;
  }
  // A work area that does not start at the origin (a second monitor, a panel at the top).
  EXPECT_EQ(CenteredPosition(QRect(1900, 20, 100, 100), popup, QRect(1920, 32, 1280, 1000)),
            QPoint(1920, 32));
}

}  // namespace
}  // namespace forge::ui
