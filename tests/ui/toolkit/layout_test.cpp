// Layout files: window attributes, fonts, defaults, styles, includes, the control factory, the
// placing of controls, and what a broken layout does.
#include <gtest/gtest.h>

#include <QApplication>
#include <QMessageBox>
#include <QTimer>

#include "ui/support/ui_test_support.h"
#include "ui/toolkit/button.h"
#include "ui/toolkit/container.h"
#include "ui/toolkit/label.h"
#include "ui/toolkit/list.h"

namespace forge::ui {
namespace {

using test::ActivePackage;
using test::LayoutWindow;
using test::PackageWith;

// Records load failures instead of ending the process.
class FailureRecorder {
 public:
  FailureRecorder() {
    SetLoadFailureHandler([this](const QString& reason) { reasons.push_back(reason); });
  }
  ~FailureRecorder() { SetLoadFailureHandler(nullptr); }
  std::vector<QString> reasons;
};

TEST(Layout, ReadsWindowAttributesFontsDefaultsAndStyles) {
  ActivePackage active(PackageWith({{"xml/t.xml", R"(
<Window size="320,200" mininfo="300,150" caption="0,0,0,36" sizebox="4,4,4,4"
        roundcorner="10,10" bktrans="true">
  <Font name="Tahoma" size="10"/>
  <Font id="3" name="Tahoma" size="14" bold="true"/>
  <Font name="Tahoma" size="12" default="true"/>
  <Default name="Button" value="textcolor=&quot;#FF112233&quot; width=&quot;50&quot;"/>
  <Style name="Wide" value="width=&quot;120&quot;"/>
  <Styles><Style name="Red" value="textcolor=&quot;#FFFF0000&quot;"/></Styles>
  <HorizontalLayout>
    <Button name="plain"/>
    <Button name="own" width="70"/>
    <Button name="styled" style="Wide"/>
    <Button name="override" style="Red" textcolor="#FF00FF00"/>
    <Label name="label" font="3"/>
  </HorizontalLayout>
</Window>)"}}));
  LayoutWindow window("xml\\t.xml");
  ASSERT_TRUE(window.Create(nullptr));
  const auto& info = window.LayoutInfo();
  EXPECT_EQ(window.size(), QSize(320, 200));
  EXPECT_EQ(window.minimumSize(), QSize(300, 150));
  EXPECT_EQ(info.caption, QMargins(0, 0, 0, 36));
  EXPECT_EQ(info.sizeBox, QMargins(4, 4, 4, 4));
  EXPECT_EQ(info.roundCorner, QSize(10, 10));
  EXPECT_TRUE(info.transparent);

  // Fonts by order, "id" placing one at its index; the gap and unknown indexes give the default.
  EXPECT_EQ(window.Font(0).pixelSize(), 10);
  EXPECT_EQ(window.Font(3).pixelSize(), 14);
  EXPECT_TRUE(window.Font(3).bold());
  EXPECT_EQ(window.Font(4).pixelSize(), 12);  // the third font follows the highest index
  EXPECT_EQ(window.Font(-1).pixelSize(), 12);
  EXPECT_EQ(window.Font(2).pixelSize(), 12);
  EXPECT_EQ(window.Font(99).pixelSize(), 12);
  EXPECT_EQ(window.FindControl<LabelUI>("label")->Font().pixelSize(), 14);

  // Class defaults come first; own attributes and styles then win in their order.
  struct Case {
    const char* name;
    int width;
    QColor text;
  };
  for (const Case& c :
       {Case{"plain", 50, QColor(0xFF112233)}, Case{"own", 70, QColor(0xFF112233)},
        Case{"styled", 120, QColor(0xFF112233)}, Case{"override", 50, QColor(0xFF00FF00)}}) {
    auto* button = window.FindControl<ButtonUI>(c.name);
    ASSERT_NE(button, nullptr) << c.name;
    EXPECT_EQ(button->Layout().width, c.width) << c.name;
    EXPECT_EQ(button->TextColor(), c.text) << c.name;
  }
  // Styles apply at run time too.
  auto* plain = window.FindControl<ButtonUI>("plain");
  EXPECT_TRUE(plain->ApplyStyle("Wide"));
  EXPECT_EQ(plain->Layout().width, 120);
  EXPECT_FALSE(plain->ApplyStyle("NoSuchStyle"));
}

TEST(Layout, IncludesControlsAndResourcesOfOtherFiles) {
  ActivePackage active(PackageWith({
      {"xml/main.xml", R"(<Window size="200,100">
        <Include source="xml\common.xml"/>
        <TabLayout name="tabs">
          <Include source="xml\page.xml" count="2"/>
          <Include source="xml/page.xml"/>
        </TabLayout></Window>)"},
      {"xml/common.xml", R"(<Window><Font name="Tahoma" size="17" default="true"/>
        <Style name="Page" value="bkcolor=&quot;#FF123456&quot;"/></Window>)"},
      {"xml/page.xml", R"(<VerticalLayout style="Page"><Label name="inner"/></VerticalLayout>)"},
  }));
  LayoutWindow window("xml/main.xml");
  ASSERT_TRUE(window.Create(nullptr));
  auto* tabs = window.FindControl<TabLayoutUI>("tabs");
  ASSERT_NE(tabs, nullptr);
  EXPECT_EQ(tabs->Count(), 3);
  EXPECT_EQ(window.Font(-1).pixelSize(), 17);
  // A tab layout shows its selected page only.
  EXPECT_TRUE(tabs->ItemAt(0)->IsVisible());
  EXPECT_FALSE(tabs->ItemAt(1)->IsVisible());
  EXPECT_TRUE(tabs->SelectItem(2));
  EXPECT_FALSE(tabs->ItemAt(0)->IsVisible());
  EXPECT_TRUE(tabs->ItemAt(2)->IsVisible());
  EXPECT_FALSE(tabs->SelectItem(3));
}

// The window's factory is asked first; names are compared without regard to case.
class FactoryWindow : public LayoutWindow {
 public:
  using LayoutWindow::LayoutWindow;
  std::vector<QString> asked;

 protected:
  ControlUI* CreateControl(const QString& name) override {
    asked.push_back(name);
    if (name == u"FileTree") return new ListUI();
    return nullptr;
  }
};

TEST(Layout, AsksTheWindowsFactoryFirst) {
  ActivePackage active(PackageWith({{"xml/f.xml", R"(<Window size="100,100">
      <verticallayout><FileTree name="tree"/><BUTTON name="b"/></verticallayout></Window>)"}}));
  FactoryWindow window("xml/f.xml");
  ASSERT_TRUE(window.Create(nullptr));
  EXPECT_EQ(window.asked, (std::vector<QString>{"verticallayout", "FileTree", "BUTTON"}));
  EXPECT_EQ(window.FindControl("tree")->GetClass(), "ListUI");
  EXPECT_EQ(window.FindControl("b")->GetClass(), "ButtonUI");
}

TEST(Layout, BrokenLayoutsGoToTheFailureHandlerWithTheirCause) {
  struct Case {
    const char* cause;
    std::vector<std::pair<const char*, const char*>> files;  // xml/a.xml is the one loaded
  };
  const Case cases[] = {
      {"unknown control class FileTree",
       {{"xml/a.xml", "<Window><VerticalLayout><FileTree/></VerticalLayout></Window>"}}},
      {"bad attribute widht=\"3\"", {{"xml/a.xml", R"(<Window><Label widht="3"/></Window>)"}}},
      {"bad attribute width=\"wide\"",
       {{"xml/a.xml", R"(<Window><Label width="wide"/></Window>)"}}},
      {"bad attribute style=\"Nope\"",
       {{"xml/a.xml", R"(<Window><Label style="Nope"/></Window>)"}}},
      {"xml/none.xml: not in the skin package",
       {{"xml/a.xml",
         R"(<Window><VerticalLayout><Include source="xml\none.xml"/></VerticalLayout></Window>)"}}},
      {"xml/b.xml includes itself",
       {{"xml/a.xml",
         R"(<Window><VerticalLayout><Include source="xml/b.xml"/></VerticalLayout></Window>)"},
        {"xml/b.xml", R"(<VerticalLayout><Include source="xml\c.xml"/></VerticalLayout>)"},
        {"xml/c.xml", R"(<VerticalLayout><Include source="xml/b.xml"/></VerticalLayout>)"}}},
      {"xml/a.xml:2:", {{"xml/a.xml", "<Window>\n<Label></Window>"}}},
      {"the root element is not Window", {{"xml/a.xml", "<VerticalLayout/>"}}},
      {"exactly one control, not 2", {{"xml/a.xml", "<Window><Label/><Label/></Window>"}}},
      {"Label cannot hold LabelUI", {{"xml/a.xml", "<Window><Label><Label/></Label></Window>"}}},
      {"bad window attribute size=\"12\"",
       {{"xml/a.xml", R"(<Window size="12"><Label/></Window>)"}}},
      {"Font lacks \"size\"", {{"xml/a.xml", R"(<Window><Font name="Tahoma"/><Label/></Window>)"}}},
  };
  for (const Case& c : cases) {
    FailureRecorder failures;
    ActivePackage active(PackageWith(c.files));
    LayoutWindow window("xml\\a.xml");
    EXPECT_FALSE(window.Create(nullptr)) << c.cause;
    EXPECT_FALSE(window.IsCreated());
    ASSERT_EQ(failures.reasons.size(), 1u) << c.cause;
    EXPECT_TRUE(failures.reasons[0].contains(c.cause))
        << failures.reasons[0].toStdString() << " lacks " << c.cause;
    EXPECT_EQ(window.RunModal(), 0);
  }
}

// With the default handler a broken layout shows "Load Resource Error" and ends the process
// with exit code 1.
TEST(LayoutDeathTest, DefaultFailureEndsTheProcessWithCodeOne) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(
      {
        QTimer::singleShot(50, [] {
          auto* box = dynamic_cast<QMessageBox*>(QApplication::activeModalWidget());
          if (box && box->text() == "Load Resource Error" && box->windowTitle() == "BuildDisc" &&
              box->icon() == QMessageBox::Critical) {
            box->close();
          }
        });
        LayoutWindow window("xml/NoSuchLayout.xml");
        window.Create(nullptr);
      },
      testing::ExitedWithCode(1), "Load Resource Error: xml/NoSuchLayout.xml");
}

struct Placement {
  const char* name;
  QRect geometry;
};

TEST(Layout, PlacesControlsByTheirSizesPaddingsAndInsets) {
  ActivePackage active(PackageWith({{"xml/p.xml", R"(
<Window size="300,200">
  <VerticalLayout inset="10,10,10,10" childpadding="5">
    <Label name="top" height="30"/>
    <HorizontalLayout name="row" height="40" childpadding="4" childvalign="vcenter">
      <Label name="fixed" width="50" height="20"/>
      <Label name="flex1"/>
      <Label name="flex2" padding="6,0,0,0" maxwidth="60"/>
    </HorizontalLayout>
    <Label name="fill" minheight="10"/>
    <Label name="centred" width="100" height="20" padding="0,0,0,5"/>
    <Label name="floating" float="true" pos="200,5,250,25"/>
    <Label name="hidden" height="500" visible="false"/>
  </VerticalLayout>
</Window>)"}}));
  LayoutWindow window("xml/p.xml");
  ASSERT_TRUE(window.Create(nullptr));
  // Content: 280 x 180 from (10,10). Heights: 30 + 40 + fill + 20 (+5 padding) + 3 x 5 spacing.
  const Placement expected[] = {
      {"top", QRect(10, 10, 280, 30)},
      {"row", QRect(10, 45, 280, 40)},
      {"fixed", QRect(0, 10, 50, 20)},
      // 280 - 50 - 6 - 2 x 4 = 216 to share; flex2 stops at 60 and flex1 takes the rest.
      {"flex1", QRect(54, 0, 156, 40)},
      {"flex2", QRect(220, 0, 60, 40)},
      {"fill", QRect(10, 90, 280, 70)},
      {"centred", QRect(10, 165, 100, 20)},
      {"floating", QRect(200, 5, 50, 20)},
  };
  for (const Placement& p : expected) {
    auto* control = window.FindControl(p.name);
    ASSERT_NE(control, nullptr) << p.name;
    EXPECT_EQ(control->geometry(), p.geometry) << p.name;
  }
  // Showing the hidden control takes room from the flexible one, which keeps its minimum.
  window.FindControl("hidden")->SetVisible(true);
  EXPECT_EQ(window.FindControl("fill")->height(), 10);
}

}  // namespace
}  // namespace forge::ui
