// What a layout file declares besides its controls, and the reading of layout files.
//
// A layout is an XML file of the skin package:
//
//   <Window size="350,200" caption="0,0,0,40" roundcorner="10,10">
//     <Font id="0" name="Tahoma" size="12" bold="true" default="true"/>
//     <Image name="logo.png" mask="#FFFF00FF"/>
//     <Default name="Button" value="textcolor=&quot;#FF1F2933&quot;"/>
//     <Style name="BtnBlue" value="bkcolor=&quot;#FF2563EB&quot;"/>   (also inside <Styles>)
//     <VerticalLayout> ...controls...  <Include source="xml\Page.xml"/> </VerticalLayout>
//   </Window>
//
// Window attributes: size "w,h" (the size when the caller gives none), mininfo "w,h" (smallest
// size), caption "l,t,r,b" (the caption band: from `l` to `r` pixels off the left and right
// edges, from y = `t` to y = `b`), sizebox "l,t,r,b" (the borders that resize the window),
// roundcorner "w,h" (the ellipse of the rounded corners), bktrans (transparent background).
// Fonts are numbered in their order, or by "id"; sizes are in pixels. "Default" gives every
// control of a class (by its element name) attributes before its own; "Style" names an attribute
// list that a control takes with style="name". An included file holds one control (or a Window
// element whose fonts, defaults and styles join the including window's). Element names of
// controls are compared without regard to case.
#pragma once

#include <QColor>
#include <QFont>
#include <QMargins>
#include <QSize>
#include <QString>
#include <functional>
#include <map>
#include <optional>
#include <vector>

namespace forge::ui {

class ControlUI;
class SkinPackage;

struct WindowResources {
  std::vector<std::optional<QFont>> fonts;  // by index; gaps stay empty
  int defaultFont = -1;
  std::map<QString, QString> defaults;   // lower-case element name -> attribute list
  std::map<QString, QString> styles;     // style name -> attribute list
  std::map<QString, QColor> imageMasks;  // image name -> transparent colour

  // The font of an index; -1, an unknown index or a gap give the default font.
  QFont Font(int index) const;
};

struct WindowLayout {
  QSize size;
  QSize minSize;
  QMargins caption;
  QMargins sizeBox;
  QSize roundCorner;
  bool transparent = false;
};

// Makes the control of an element name; null when the factory does not know the name.
using ControlFactory = std::function<ControlUI*(const QString& elementName)>;

// Reads `layoutName` from `package` and builds its controls under `host` (the window widget).
// Resources and window attributes go into `resources` and `layout` as they are read, so
// controls can use the window's styles while they are built. `factory` is asked first for every
// element; the toolkit's own classes come next. Answers the root control, or null with the
// reason in `error` (the file, the line and what is wrong).
ControlUI* BuildLayout(const SkinPackage& package, const QString& layoutName, QWidget* host,
                       WindowResources& resources, WindowLayout& layout,
                       const ControlFactory& factory, QString* error);

// The toolkit's own control of an element name ("Button", "VerticalLayout", ...), or null.
ControlUI* CreateBuiltInControl(const QString& elementName);

}  // namespace forge::ui
