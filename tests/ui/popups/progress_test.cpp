// The progress-window frame, run for each of the five behaviours with the window's own layout
// and a fake engine: close codes, the cancel question answered yes and no, progress held while
// the question is open, the waiting dots, clicks after the job has finished.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QTimer>

#include "ui/popups/message_box.h"
#include "ui/popups/progress_support.h"
#include "ui/popups/progress_wnd.h"
#include "ui/support/ui_test_support.h"

namespace forge::ui {
namespace {

using test::FakeEngine;
using test::ModalWatch;
using test::ProcessEventsUntil;
using test::TestProgressWnd;

struct Variant {
  const char* name;
  ProgressBehaviour (*behaviour)();
  const char* layout;
  QSize size;
  const char* cancelControl;
  int doneCode;                 // the engine returned 0
  int failedCode;               // the engine returned another error
  int cancelCode;               // the user confirmed the cancel question
  const char* question;         // the question's text in the test language file
  const char* languageControl;  // a control the window's language section names
  const char* languageText;     // and its text there
};

void PrintTo(const Variant& variant, std::ostream* out) { *out << variant.name; }

const Variant kVariants[] = {
    {"CountFiles",
     &ProgressBehaviour::CountFiles,
     "xml\\CountFileProcessWnd.xml",
     {400, 200},
     "BtnCancel",
     1,
     3,
     2,
     "Are you sure you want to stop? The current run finishes first.",
     "Stage",
     "It will take a little time."},
    {"BuildDisc",
     &ProgressBehaviour::BuildDisc,
     "xml\\BuildDiscProcessWnd.xml",
     {350, 200},
     "BtnCancel",
     1,
     1,
     1,
     "Are you sure you want to stop creating the ISO file?",
     "Stage",
     "Writing the ISO file, please wait."},
    {"BurnIso",
     &ProgressBehaviour::BurnIso,
     "xml\\BurnISOProcessWnd.xml",
     {350, 200},
     "BtnCancel",
     1,
     1,
     1,
     "Are you sure you want to stop creating the ISO file?",
     "Stage",
     "Burning the disc, please wait."},
    {"CreateImage",
     &ProgressBehaviour::CreateImage,
     "xml\\CreateImageProcessWnd.xml",
     {450, 250},
     "cancelbtn",
     1,
     3,
     2,
     "Are you sure you want to stop creating the disk image?",
     "cancelbtn",
     "Stop"},
    {"ExtractIso",
     &ProgressBehaviour::ExtractIso,
     "xml\\ExtractISOProcessWnd.xml",
     {350, 200},
     "BtnCancel",
     1,
     1,
     2,
     "Are you sure you want to stop? The current run finishes first.",
     "Stage",
     "Extracting the image, please wait."},
};

class ProgressFrame : public ::testing::TestWithParam<Variant> {
 protected:
  std::unique_ptr<TestProgressWnd> MakeWindow(FakeEngine& engine) {
    auto window = std::make_unique<TestProgressWnd>(state_, GetParam().behaviour(),
                                                    GetParam().layout, engine);
    EXPECT_TRUE(window->CreatePopup(nullptr, GetParam().size.width(), GetParam().size.height()));
    // The count window's cancel button is hidden by its layout; show it to reach the question.
    window->FindControl(GetParam().cancelControl)->SetVisible(true);
    window->FindControl(GetParam().cancelControl)->SetEnabled(true);
    return window;
  }

  // Clicks the cancel control once the engine has made `reports` reports.
  void ClickCancelAfter(TestProgressWnd& window, FakeEngine& engine, int reports) {
    auto* timer = new QTimer(&window);
    timer->setInterval(5);
    const QString control = GetParam().cancelControl;
    QObject::connect(timer, &QTimer::timeout, [&window, &engine, reports, timer, control] {
      if (engine.Reported() < reports) return;
      timer->stop();
      test::Click(window, control);
    });
    timer->start();
  }

  CProgressWnd::ClassState state_;
};

TEST_P(ProgressFrame, TheWorkersCloseCodeFollowsTheEnginesResult) {
  for (const auto& [result, code] :
       {std::pair{0, GetParam().doneCode}, std::pair{30, GetParam().failedCode},
        std::pair{CancelCode, GetParam().cancelCode}}) {
    FakeEngine engine({25, 50, 75, 100}, result);
    auto window = MakeWindow(engine);
    EXPECT_EQ(window->RunModal(), code) << result;
    EXPECT_EQ(engine.Answers(), (std::vector<int>{0, 0, 0, 0}));
    if (GetParam().behaviour().hasWorkFinished) {
      EXPECT_EQ(state_.workFinished, 1);
    }
    if (auto* bar = window->FindControl<ProgressUI>("progress")) {
      test::ProcessEventsUntil([bar] { return bar->Value() == 100; });
      EXPECT_EQ(bar->Value(), 100);
    }
  }
}

TEST_P(ProgressFrame, WindowInitAppliesTheWindowsLanguageSection) {
  FakeEngine engine({}, 0);
  auto window = MakeWindow(engine);
  window->RunModal();
  EXPECT_EQ(window->FindControl(GetParam().languageControl)->Text(), GetParam().languageText);
}

TEST_P(ProgressFrame, CancelConfirmedStopsTheJobAtItsNextReport) {
  FakeEngine engine({10, 20, 30, 40, 50});
  engine.Allow(2);
  auto window = MakeWindow(engine);
  ClickCancelAfter(*window, engine, 2);
  bool asked = false;
  ModalWatch watch([&](SkinWindow& box) {
    asked = true;
    EXPECT_EQ(box.FindControl("title")->Text(), "Question");
    EXPECT_EQ(box.FindControl("message")->Text(), GetParam().question);
    EXPECT_EQ(box.size(), QSize(GetParam().behaviour().questionWidth, 170));
    if (GetParam().behaviour().disablesCancelWhileAsking) {
      EXPECT_FALSE(window->FindControl("closebtn")->IsEnabled());
      EXPECT_FALSE(window->FindControl("BtnCancel")->IsEnabled());
    }
    // The next report waits for the answer.
    engine.Allow(3);
    EXPECT_TRUE(ProcessEventsUntil([&] { return engine.InSink(); }));
    EXPECT_EQ(engine.Reported(), 2);
    test::Click(box, "okbtn");
    engine.AllowAll();
  });
  EXPECT_EQ(window->RunModal(), GetParam().cancelCode);
  EXPECT_TRUE(asked);
  EXPECT_EQ(state_.cancelRequested, 1);
  // The report that waited was answered with the cancel code, and no other followed.
  EXPECT_EQ(engine.Answers(), (std::vector<int>{0, 0, CancelCode}));
  if (GetParam().behaviour().disablesCancelWhileAsking) {
    EXPECT_FALSE(window->FindControl("BtnCancel")->IsEnabled());
  }
}

TEST_P(ProgressFrame, AnyOtherAnswerResumesTheJob) {
  for (const char* answer : {"cancelbtn", "closebtn"}) {
    FakeEngine engine({10, 20, 30, 40, 50});
    engine.Allow(2);
    auto window = MakeWindow(engine);
    ClickCancelAfter(*window, engine, 2);
    ModalWatch watch([&](SkinWindow& box) {
      engine.AllowAll();
      EXPECT_TRUE(ProcessEventsUntil([&] { return engine.InSink(); }));
      EXPECT_EQ(engine.Reported(), 2);
      test::Click(box, answer);
    });
    EXPECT_EQ(window->RunModal(), GetParam().doneCode) << answer;
    EXPECT_EQ(state_.cancelRequested, 0);
    EXPECT_EQ(engine.Answers(), (std::vector<int>{0, 0, 0, 0, 0})) << answer;
    if (GetParam().behaviour().disablesCancelWhileAsking) {
      EXPECT_TRUE(window->FindControl("closebtn")->IsEnabled());
      EXPECT_TRUE(window->FindControl("BtnCancel")->IsEnabled());
    }
  }
}

TEST_P(ProgressFrame, AJobEndingWhileTheQuestionIsOpenClosesTheQuestionToo) {
  FakeEngine engine({10, 20});
  engine.Allow(2);  // both reports, then held before returning
  auto window = MakeWindow(engine);
  ClickCancelAfter(*window, engine, 2);
  int questions = 0;
  ModalWatch watch([&](SkinWindow&) {
    ++questions;
    engine.AllowAll();  // the worker finishes and ends its window; the question goes with it
  });
  EXPECT_EQ(window->RunModal(), GetParam().doneCode);
  EXPECT_EQ(questions, 1);
  EXPECT_EQ(state_.cancelRequested, 0);
}

// The windows that keep the WorkFinished flag (all but the burn window).
class FinishedFlagFrame : public ProgressFrame {};

TEST_P(FinishedFlagFrame, ACancelClickAfterTheJobFinishedClosesOrAsksAsTheWindowDoes) {
  const ProgressBehaviour behaviour = GetParam().behaviour();
  ASSERT_TRUE(behaviour.hasWorkFinished);
  FakeEngine engine({10});
  engine.Allow(1);
  auto window = MakeWindow(engine);
  bool asked = false;
  ModalWatch watch([&](SkinWindow& box) {
    asked = true;
    test::Click(box, "cancelbtn");
  });
  QTimer::singleShot(1, [&] {
    ASSERT_TRUE(ProcessEventsUntil([&] { return engine.Reported() == 1; }));
    // As if the worker had just set WorkFinished and not yet asked to close.
    state_.workFinished = 1;
    test::Click(*window, GetParam().cancelControl);
    if (!behaviour.closesWhenFinished) {
      EXPECT_TRUE(asked);
      window->Close(PopupDone);
    }
  });
  EXPECT_EQ(window->RunModal(), PopupDone);
  EXPECT_EQ(asked, !behaviour.closesWhenFinished);
  engine.AllowAll();
}

TEST_P(ProgressFrame, EscapeDoesNothing) {
  FakeEngine engine({10, 20});
  engine.Allow(1);
  auto window = MakeWindow(engine);
  QTimer::singleShot(1, [&] {
    ASSERT_TRUE(ProcessEventsUntil([&] { return engine.Reported() == 1; }));
    test::PressKey(*window, Qt::Key_Escape);
    QCoreApplication::processEvents();
    EXPECT_FALSE(window->HasEnded());
    engine.AllowAll();
  });
  EXPECT_EQ(window->RunModal(), GetParam().doneCode);
}

// The windows whose engine reports no percentage: the count-files and extract windows.
class WaitingFrame : public ProgressFrame {};

TEST_P(WaitingFrame, AnimatesTwoToSevenDots) {
  const ProgressBehaviour behaviour = GetParam().behaviour();
  ASSERT_FALSE(behaviour.waitingFormat.isEmpty());
  FakeEngine engine({});
  engine.Allow(0);
  auto window = MakeWindow(engine);
  EXPECT_EQ(window->DotCount(), 1);
  std::vector<QString> texts;
  window->FindControl("percent")->AddNotifyHandler([&](Notification& n) {
    if (n.type == u"timer" && n.wParam == 1000) texts.push_back(n.sender->Text());
    return false;
  });
  QTimer::singleShot(1, [&] {
    EXPECT_TRUE(ProcessEventsUntil([&] { return texts.size() >= 8; }));
    engine.AllowAll();
  });
  window->RunModal();
  ASSERT_GE(texts.size(), 8u);
  std::vector<QString> expected;
  for (int dots : {2, 3, 4, 5, 6, 7, 2, 3}) {
    QString text = behaviour.waitingFormat;
    expected.push_back(text.replace("%s", QString(dots, '.')));
  }
  texts.resize(8);
  EXPECT_EQ(texts, expected);
}

const auto kVariantName = [](const auto& info) { return std::string(info.param.name); };
INSTANTIATE_TEST_SUITE_P(EveryProgressWindow, ProgressFrame, ::testing::ValuesIn(kVariants),
                         kVariantName);
INSTANTIATE_TEST_SUITE_P(WithWorkFinished, FinishedFlagFrame,
                         ::testing::Values(kVariants[0], kVariants[1], kVariants[3], kVariants[4]),
                         kVariantName);
INSTANTIATE_TEST_SUITE_P(WithDots, WaitingFrame, ::testing::Values(kVariants[0], kVariants[4]),
                         kVariantName);

TEST(ProgressSink, WithoutAWindowOnlyTheCancelFlagCounts) {
  CProgressWnd::ClassState state;
  int updates = 0;
  EXPECT_EQ(CProgressWnd::ReportProgress(state, nullptr, [&] { ++updates; }), 0);
  state.cancelRequested = 1;
  EXPECT_EQ(CProgressWnd::ReportProgress(state, nullptr, [&] { ++updates; }), CancelCode);
  EXPECT_EQ(updates, 0);
}

}  // namespace
}  // namespace forge::ui
