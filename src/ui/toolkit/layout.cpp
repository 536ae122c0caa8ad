#include "ui/toolkit/layout.h"

#include <QXmlStreamReader>
#include <memory>
#include <set>

#include "ui/toolkit/attributes.h"
#include "ui/toolkit/button.h"
#include "ui/toolkit/combo.h"
#include "ui/toolkit/container.h"
#include "ui/toolkit/edit.h"
#include "ui/toolkit/label.h"
#include "ui/toolkit/list.h"
#include "ui/toolkit/menu.h"
#include "ui/toolkit/progress.h"
#include "ui/toolkit/skin_package.h"

namespace forge::ui {

namespace {

struct Element {
  QString name;
  AttributeList attributes;
  std::vector<Element> children;
  qint64 line = 0;

  std::optional<QString> Attribute(const QString& key) const {
    for (const auto& [name, value] : attributes) {
      if (name == key) return value;
    }
    return std::nullopt;
  }
};

class LayoutError : public std::exception {
 public:
  explicit LayoutError(QString message) : message_(std::move(message)) {}
  const QString& message() const { return message_; }
  const char* what() const noexcept override { return "layout error"; }

 private:
  QString message_;
};

Element ParseXml(const QByteArray& bytes, const QString& file) {
  QXmlStreamReader reader(bytes);
  std::vector<Element> stack;
  std::optional<Element> root;
  while (!reader.atEnd()) {
    const auto token = reader.readNext();
    if (token == QXmlStreamReader::StartElement) {
      Element element;
      element.name = reader.name().toString();
      element.line = reader.lineNumber();
      for (const auto& attribute : reader.attributes()) {
        element.attributes.emplace_back(attribute.name().toString(), attribute.value().toString());
      }
      stack.push_back(std::move(element));
    } else if (token == QXmlStreamReader::EndElement) {
      Element done = std::move(stack.back());
      stack.pop_back();
      if (stack.empty()) {
        root = std::move(done);
      } else {
        stack.back().children.push_back(std::move(done));
      }
    }
  }
  if (reader.hasError()) {
    throw LayoutError(
        QStringLiteral("%1:%2: %3").arg(file).arg(reader.lineNumber()).arg(reader.errorString()));
  }
  if (!root) throw LayoutError(file + QStringLiteral(": no elements"));
  return std::move(*root);
}

class Builder {
 public:
  Builder(const SkinPackage& package, QWidget* host, WindowResources& resources,
          WindowLayout& layout, const ControlFactory& factory)
      : package_(package), host_(host), resources_(resources), layout_(layout), factory_(factory) {}

  ControlUI* BuildFile(const QString& name) {
    const Element root = Load(name);
    if (root.name != u"Window") throw Fail(root, QStringLiteral("the root element is not Window"));
    ReadWindowAttributes(root);
    std::vector<ControlUI*> controls = BuildChildren(root, host_);
    if (controls.size() != 1) {
      for (auto* control : controls) delete control;
      throw Fail(root,
                 QStringLiteral("a window holds exactly one control, not %1").arg(controls.size()));
    }
    return controls.front();
  }

 private:
  Element Load(const QString& name) {
    const QString file = SkinPackage::NormaliseName(name);
    const auto bytes = package_.Read(file);
    if (!bytes) throw LayoutError(file + QStringLiteral(": not in the skin package"));
    file_ = file;
    return ParseXml(*bytes, file);
  }

  LayoutError Fail(const Element& element, const QString& what) const {
    return LayoutError(QStringLiteral("%1:%2: %3").arg(file_).arg(element.line).arg(what));
  }

  void ReadWindowAttributes(const Element& window) {
    for (const auto& [name, value] : window.attributes) {
      bool ok = true;
      if (name == u"size" || name == u"mininfo") {
        const auto size = ParseSize(value);
        ok = size.has_value();
        if (ok) (name == u"size" ? layout_.size : layout_.minSize) = *size;
      } else if (name == u"caption" || name == u"sizebox") {
        const auto edges = ParseEdges(value);
        ok = edges.has_value();
        if (ok) (name == u"caption" ? layout_.caption : layout_.sizeBox) = *edges;
      } else if (name == u"roundcorner") {
        const auto size = ParseSize(value);
        ok = size.has_value();
        if (ok) layout_.roundCorner = *size;
      } else if (name == u"bktrans") {
        const auto flag = ParseBool(value);
        ok = flag.has_value();
        if (ok) layout_.transparent = *flag;
      } else {
        ok = false;
      }
      if (!ok)
        throw Fail(window, QStringLiteral("bad window attribute %1=\"%2\"").arg(name, value));
    }
  }

  // Builds the children of `element` under `parent`: resources are taken in, controls made.
  std::vector<ControlUI*> BuildChildren(const Element& element, QWidget* parent) {
    std::vector<ControlUI*> controls;
    try {
      for (const auto& child : element.children) {
        if (child.name == u"Font") {
          ReadFont(child);
        } else if (child.name == u"Image") {
          ReadImage(child);
        } else if (child.name == u"Default") {
          resources_.defaults[Required(child, "name").toLower()] = Required(child, "value");
        } else if (child.name == u"Style") {
          resources_.styles[Required(child, "name")] = Required(child, "value");
        } else if (child.name == u"Styles") {
          for (const auto& style : child.children) {
            if (style.name != u"Style")
              throw Fail(style, QStringLiteral("Styles holds only Style"));
            resources_.styles[Required(style, "name")] = Required(style, "value");
          }
        } else if (child.name == u"Include") {
          for (auto* control : Include(child, parent)) controls.push_back(control);
        } else {
          controls.push_back(BuildControl(child, parent));
        }
      }
    } catch (...) {
      for (auto* control : controls) delete control;
      throw;
    }
    return controls;
  }

  QString Required(const Element& element, const char* key) {
    const auto value = element.Attribute(QString::fromLatin1(key));
    if (!value) throw Fail(element, QStringLiteral("%1 lacks \"%2\"").arg(element.name, key));
    return *value;
  }

  void ReadFont(const Element& element) {
    QFont font;
    // Where the named family is missing, the same installed face everywhere: the sizes of the
    // layouts are checked with it.
    font.setFamilies({Required(element, "name"), QStringLiteral("DejaVu Sans")});
    font.setStyleHint(QFont::SansSerif);
    const auto size = ParseInt(Required(element, "size"));
    if (!size || *size <= 0) throw Fail(element, QStringLiteral("bad font size"));
    font.setPixelSize(*size);
    int index = static_cast<int>(resources_.fonts.size());
    bool isDefault = false;
    for (const auto& [name, value] : element.attributes) {
      if (name == u"name" || name == u"size") continue;
      if (name == u"id") {
        const auto id = ParseInt(value);
        if (!id || *id < 0 || *id > 1000) throw Fail(element, QStringLiteral("bad font id"));
        index = *id;
        continue;
      }
      const auto flag = ParseBool(value);
      if (!flag) throw Fail(element, QStringLiteral("bad font attribute %1").arg(name));
      if (name == u"bold") {
        font.setBold(*flag);
      } else if (name == u"italic") {
        font.setItalic(*flag);
      } else if (name == u"underline") {
        font.setUnderline(*flag);
      } else if (name == u"default") {
        isDefault = *flag;
      } else {
        throw Fail(element, QStringLiteral("unknown font attribute %1").arg(name));
      }
    }
    if (index >= static_cast<int>(resources_.fonts.size())) {
      resources_.fonts.resize(static_cast<size_t>(index) + 1);
    }
    resources_.fonts[static_cast<size_t>(index)] = font;
    if (isDefault) resources_.defaultFont = index;
  }

  void ReadImage(const Element& element) {
    const QString name = Required(element, "name");
    if (const auto mask = element.Attribute(QStringLiteral("mask"))) {
      const auto color = ParseColor(*mask);
      if (!color) throw Fail(element, QStringLiteral("bad image mask"));
      resources_.imageMasks[name] = *color;
    }
  }

  std::vector<ControlUI*> Include(const Element& element, QWidget* parent) {
    const QString source = SkinPackage::NormaliseName(Required(element, "source"));
    int count = 1;
    if (const auto text = element.Attribute(QStringLiteral("count"))) {
      const auto number = ParseInt(*text);
      if (!number || *number < 0) throw Fail(element, QStringLiteral("bad include count"));
      count = *number;
    }
    if (including_.count(source)) {
      throw Fail(element, QStringLiteral("%1 includes itself").arg(source));
    }
    const QString outerFile = file_;
    const Element root = Load(source);
    including_.insert(source);
    std::vector<ControlUI*> controls;
    try {
      for (int i = 0; i < count; ++i) {
        if (root.name == u"Window") {
          for (auto* control : BuildChildren(root, parent)) controls.push_back(control);
        } else {
          controls.push_back(BuildControl(root, parent));
        }
      }
    } catch (...) {
      for (auto* control : controls) delete control;
      throw;
    }
    including_.erase(source);
    file_ = outerFile;
    return controls;
  }

  ControlUI* BuildControl(const Element& element, QWidget* parent) {
    ControlUI* control = factory_ ? factory_(element.name) : nullptr;
    if (!control) control = CreateBuiltInControl(element.name);
    if (!control) throw Fail(element, QStringLiteral("unknown control class %1").arg(element.name));
    // Owned by `parent` from here on, so a failure below frees it with its parent.
    std::unique_ptr<ControlUI> owned(control);
    control->setParent(parent);
    if (const auto found = resources_.defaults.find(element.name.toLower());
        found != resources_.defaults.end()) {
      if (!control->ApplyAttributeList(found->second)) {
        throw Fail(element, QStringLiteral("bad default attributes for %1").arg(element.name));
      }
    }
    for (const auto& [name, value] : element.attributes) {
      // Styles come from the resources read so far (the window may not hold the control yet).
      const auto style = name == u"style" ? resources_.styles.find(value) : resources_.styles.end();
      if (style != resources_.styles.end() ? !control->ApplyAttributeList(style->second)
                                           : !control->SetAttribute(name, value)) {
        throw Fail(element,
                   QStringLiteral("%1: bad attribute %2=\"%3\"").arg(element.name, name, value));
      }
    }
    auto* container = dynamic_cast<ContainerUI*>(control);
    std::vector<ControlUI*> children = BuildChildren(element, control);
    for (auto* child : children) {
      // On failure the children go with `owned`, whose Qt children they are.
      if (!container || !container->Add(child)) {
        throw Fail(element,
                   QStringLiteral("%1 cannot hold %2").arg(element.name, child->GetClass()));
      }
    }
    return owned.release();
  }

  const SkinPackage& package_;
  QWidget* host_;
  WindowResources& resources_;
  WindowLayout& layout_;
  const ControlFactory& factory_;
  QString file_;
  std::set<QString> including_;
};

}  // namespace

QFont WindowResources::Font(int index) const {
  const auto pick = [this](int i) -> const std::optional<QFont>* {
    if (i < 0 || i >= static_cast<int>(fonts.size())) return nullptr;
    const auto& font = fonts[static_cast<size_t>(i)];
    return font ? &font : nullptr;
  };
  if (const auto* font = pick(index)) return **font;
  if (const auto* font = pick(defaultFont)) return **font;
  QFont fallback;
  fallback.setFamilies({QStringLiteral("Tahoma"), QStringLiteral("DejaVu Sans")});
  fallback.setStyleHint(QFont::SansSerif);
  fallback.setPixelSize(12);
  return fallback;
}

ControlUI* BuildLayout(const SkinPackage& package, const QString& layoutName, QWidget* host,
                       WindowResources& resources, WindowLayout& layout,
                       const ControlFactory& factory, QString* error) {
  try {
    Builder builder(package, host, resources, layout, factory);
    return builder.BuildFile(layoutName);
  } catch (const LayoutError& failure) {
    if (error) *error = failure.message();
    return nullptr;
  }
}

ControlUI* CreateBuiltInControl(const QString& elementName) {
  static const std::map<QString, std::function<ControlUI*()>> kClasses = {
      {QStringLiteral("control"), [] { return new ControlUI(); }},
      {QStringLiteral("container"), [] { return new ContainerUI(); }},
      {QStringLiteral("verticallayout"), [] { return new VerticalLayoutUI(); }},
      {QStringLiteral("horizontallayout"), [] { return new HorizontalLayoutUI(); }},
      {QStringLiteral("tablayout"), [] { return new TabLayoutUI(); }},
      {QStringLiteral("label"), [] { return new LabelUI(); }},
      {QStringLiteral("text"), [] { return new TextUI(); }},
      {QStringLiteral("button"), [] { return new ButtonUI(); }},
      {QStringLiteral("option"), [] { return new OptionUI(); }},
      {QStringLiteral("checkbox"), [] { return new CheckBoxUI(); }},
      {QStringLiteral("edit"), [] { return new EditUI(); }},
      {QStringLiteral("combo"), [] { return new ComboUI(); }},
      {QStringLiteral("progress"), [] { return new ProgressUI(); }},
      {QStringLiteral("list"), [] { return new ListUI(); }},
      {QStringLiteral("listheader"), [] { return new ListHeaderUI(); }},
      {QStringLiteral("listheaderitem"), [] { return new ListHeaderItemUI(); }},
      {QStringLiteral("menu"), [] { return new MenuUI(); }},
      {QStringLiteral("menuelement"), [] { return new MenuElementUI(); }},
  };
  const auto found = kClasses.find(elementName.toLower());
  return found == kClasses.end() ? nullptr : found->second();
}

}  // namespace forge::ui
