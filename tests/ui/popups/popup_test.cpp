// The popup base, the message box and the welcome window.
#include <gtest/gtest.h>

#include <QApplication>
#include <QScreen>
#include <QTimer>

#include "ui/popups/message_box.h"
#include "ui/popups/popup_wnd.h"
#include "ui/popups/welcome_wnd.h"
#include "ui/support/ui_test_support.h"

namespace forge::ui {
namespace {

using test::ActivePackage;
using test::ModalWatch;
using test::PackageWith;

constexpr const char* kPopupLayout = R"(
<Window size="300,200" caption="0,0,0,40" sizebox="4,4,4,4">
  <VerticalLayout>
    <HorizontalLayout height="40">
      <Label name="Title" text="Layout title" width="150"/>
      <Button name="closebtn" width="30"/>
      <Text name="note" width="40"/>
      <Control/>
    </HorizontalLayout>
    <Label name="Stage" text="Layout stage" height="30"/>
    <HorizontalLayout height="30">
      <Button name="okbtn"/><Button name="cancelbtn"/><Button name="other"/>
    </HorizontalLayout>
    <Control/>
  </VerticalLayout>
</Window>)";

// A plain popup with the base's behaviour.
class PlainPopup : public CPopUpWnd {
 protected:
  QString GetSkinFile() const override { return QStringLiteral("xml\\Plain.xml"); }
};

class PopupTest : public ::testing::Test {
 protected:
  PopupTest() : active_(PackageWith({{"xml/Plain.xml", kPopupLayout}})) {}
  ActivePackage active_;
};

TEST_F(PopupTest, DefaultButtonsAndEscapeGiveTheirCloseCodes) {
  struct Case {
    const char* what;
    std::function<void(SkinWindow&)> act;
    int code;
  };
  const Case cases[] = {
      {"closebtn", [](SkinWindow& w) { test::Click(w, "closebtn"); }, PopupCancelled},
      {"cancelbtn", [](SkinWindow& w) { test::Click(w, "cancelbtn"); }, PopupCancelled},
      {"okbtn", [](SkinWindow& w) { test::Click(w, "okbtn"); }, PopupDone},
      {"Escape", [](SkinWindow& w) { test::PressKey(w, Qt::Key_Escape); }, PopupCancelled},
      // Return and other buttons do nothing; the close request that follows decides.
      {"Return",
       [](SkinWindow& w) {
         test::PressKey(w, Qt::Key_Return);
         w.Close(7);
       },
       7},
      {"other",
       [](SkinWindow& w) {
         test::Click(w, "other");
         w.Close(7);
       },
       7},
  };
  for (const Case& c : cases) {
    PlainPopup popup;
    ASSERT_TRUE(popup.CreatePopup(nullptr, 300, 200));
    QTimer::singleShot(1, [&] { c.act(popup); });
    EXPECT_EQ(popup.RunModal(), c.code) << c.what;
  }
}

TEST_F(PopupTest, PopupsDragByTheCaptionButAreNeverResized) {
  PlainPopup popup;
  ASSERT_TRUE(popup.CreatePopup(nullptr, 300, 200));
  struct Case {
    QPoint at;
    HitArea::Kind kind;
  };
  for (const Case& c :
       {Case{{20, 20}, HitArea::Kind::Caption}, Case{{1, 20}, HitArea::Kind::Caption},
        Case{{165, 20}, HitArea::Kind::Client},   // closebtn
        Case{{200, 20}, HitArea::Kind::Client},   // a text control
        Case{{250, 20}, HitArea::Kind::Caption},  // empty band
        Case{{298, 100}, HitArea::Kind::Client},  // the size box
        Case{{150, 198}, HitArea::Kind::Client}, Case{{150, 50}, HitArea::Kind::Client}}) {
    EXPECT_EQ(popup.HitTest(c.at).kind, c.kind) << c.at.x() << "," << c.at.y();
  }
}

TEST_F(PopupTest, CreatePopupCentresOnTheOwnerInsideTheWorkArea) {
  const QRect work = QGuiApplication::primaryScreen()->availableGeometry();
  QWidget owner;
  owner.setGeometry(work.left() + 100, work.top() + 100, 600, 400);
  owner.show();
  PlainPopup popup;
  ASSERT_TRUE(popup.CreatePopup(&owner, 300, 200));
  EXPECT_EQ(popup.frameGeometry().topLeft(),
            CenteredPosition(owner.frameGeometry(), QSize(300, 200), work));
  EXPECT_EQ(popup.size(), QSize(300, 200));
  // Modal while it runs: the owner takes no input.
  std::optional<bool> modal;
  QTimer::singleShot(1, [&] {
    modal = QApplication::activeModalWidget() == &popup;
    popup.Close(1);
  });
  popup.RunModal();
  EXPECT_EQ(modal, true);
  EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

TEST_F(PopupTest, ApplyLanguageChangesOnlyTheControlsItNames) {
  PlainPopup popup;
  ASSERT_TRUE(popup.CreatePopup(nullptr, 300, 200));
  // The section has "Title" and "NoSuchControl".
  popup.ApplyLanguage("TestWnd");
  EXPECT_EQ(popup.FindControl("Title")->Text(), "Title from the language file");
  EXPECT_EQ(popup.FindControl("Stage")->Text(), "Layout stage");
  popup.ApplyLanguage("SectionThatDoesNotExist");
  EXPECT_EQ(popup.FindControl("Title")->Text(), "Title from the language file");
}

TEST(MessageBox, AnswersOfTheQuestionBox) {
  struct Case {
    const char* what;
    std::function<void(SkinWindow&)> act;
    int answer;
  };
  const Case cases[] = {
      {"OK", [](SkinWindow& w) { test::Click(w, "okbtn"); }, 1},
      // Escape answers like OK: a progress window takes it as yes to its cancel question.
      {"Escape", [](SkinWindow& w) { test::PressKey(w, Qt::Key_Escape); }, 1},
      {"No", [](SkinWindow& w) { test::Click(w, "cancelbtn"); }, 2},
      {"close button", [](SkinWindow& w) { test::Click(w, "closebtn"); }, 2},
      {"Return does nothing",
       [](SkinWindow& w) {
         test::PressKey(w, Qt::Key_Return);
         w.Close(5);
       },
       5},
      {"closed by the desktop", [](SkinWindow& w) { w.close(); }, 0},
  };
  for (const Case& c : cases) {
    std::optional<QString> title, message;
    ModalWatch watch([&](SkinWindow& box) {
      title = box.FindControl("title")->Text();
      message = box.FindControl("message")->Text();
      EXPECT_EQ(box.size(), QSize(370, 170));
      c.act(box);
    });
    const int answer = ShowMessageBox(nullptr, "xml\\MessageBox_Question.xml",
                                      QString::fromUtf16(kTitleQuestion), "Stop now?", 370, 170);
    EXPECT_EQ(answer, c.answer) << c.what;
    EXPECT_EQ(title, "Question");
    EXPECT_EQ(message, "Stop now?");
  }
}

TEST(MessageBox, EveryLayoutHasItsButtonsAndIcon) {
  struct Case {
    const char* layout;
    std::vector<const char*> buttons;
  };
  const Case cases[] = {
      {"xml\\MessageBox_Information.xml", {"okbtn"}},
      {"xml\\MessageBox_Warning.xml", {"okbtn"}},
      {"xml\\MessageBox_Question.xml", {"okbtn", "cancelbtn"}},
      {"xml\\MessageBox_Error.xml", {"okbtn"}},
      {"xml\\MessageBox_Confirm.xml", {"okbtn", "cancelbtn"}},
  };
  for (const Case& c : cases) {
    CMessageBox box(c.layout);
    ASSERT_TRUE(box.Create(nullptr, QSize(300, 170))) << c.layout;
    for (const char* name : {"title", "message", "closebtn", "okbtn"}) {
      EXPECT_NE(box.FindControl(name), nullptr) << c.layout << " " << name;
    }
    EXPECT_EQ(box.FindControl("cancelbtn") != nullptr, c.buttons.size() == 2) << c.layout;
    // The box can be made bigger by its border, down to 300 x 150.
    EXPECT_EQ(box.HitTest({box.width() - 1, 100}).kind, HitArea::Kind::Border);
    EXPECT_EQ(box.minimumSize(), QSize(300, 150));
  }
}

TEST(WelcomeWindow, OnlyItsButtonClosesItAndEveryOtherPointDrags) {
  CWelComeWnd welcome;
  ASSERT_TRUE(welcome.CreatePopup(nullptr, 576, 366));
  std::vector<HitArea::Kind> hits;
  QTimer::singleShot(1, [&] {
    test::PressKey(welcome, Qt::Key_Escape);
    QCoreApplication::processEvents();
    EXPECT_FALSE(welcome.HasEnded());
    auto* button = welcome.FindControl("BtnOk");
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(button->size(), QSize(136, 38));
    for (int y = 5; y < 366; y += 30) {
      for (int x = 5; x < 576; x += 30) {
        const QPoint point(x, y);
        const bool overButton =
            QRect(button->mapTo(&welcome, QPoint(0, 0)), button->size()).contains(point);
        EXPECT_EQ(welcome.HitTest(point).kind,
                  overButton ? HitArea::Kind::Client : HitArea::Kind::Caption)
            << x << "," << y;
      }
    }
    test::Click(welcome, "BtnOk");
  });
  EXPECT_EQ(welcome.RunModal(), PopupDone);
}

}  // namespace
}  // namespace forge::ui
