#include "ui/toolkit/skin_package.h"

#include <gtest/gtest.h>
#include <minizip/zip.h>

#include <QBuffer>
#include <QFile>
#include <QImage>

#include "support/test_files.h"
#include "ui/toolkit/layout.h"
#include "ui/toolkit/list.h"

namespace forge::ui {
namespace {

QByteArray PngOf(QSize size, QColor color) {
  QImage image(size, QImage::Format_ARGB32);
  image.fill(color);
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  image.save(&buffer, "PNG");
  return bytes;
}

// A ZIP archive written with minizip: entries stored or deflated as asked.
QByteArray ZipOf(const std::vector<std::tuple<const char*, QByteArray, bool>>& entries) {
  test::TempFolder folder;
  const auto path = (folder / "skin.zip").string();
  zipFile zip = zipOpen64(path.c_str(), APPEND_STATUS_CREATE);
  for (const auto& [name, bytes, deflate] : entries) {
    zip_fileinfo info{};
    zipOpenNewFileInZip64(zip, name, &info, nullptr, 0, nullptr, 0, nullptr,
                          deflate ? Z_DEFLATED : 0, deflate ? 9 : 0, 0);
    zipWriteInFileInZip(zip, bytes.constData(), static_cast<unsigned>(bytes.size()));
    zipCloseFileInZip(zip);
  }
  zipClose(zip, nullptr);
  QFile file(QString::fromStdString(path));
  file.open(QIODevice::ReadOnly);
  return file.readAll();
}

TEST(ZipSkinPackage, ReadsStoredAndDeflatedEntriesWithEitherSeparator) {
  const QByteArray layout = QByteArray("<Window/>").repeated(200);
  const QByteArray png = PngOf({4, 2}, Qt::red);
  auto package = ZipSkinPackage::Open(ZipOf({{"xml/skin.xml", layout, true},
                                             {"MessageBox/question.png", png, false},
                                             {"xml/", {}, false}}));
  ASSERT_NE(package, nullptr);
  EXPECT_EQ(package->EntryNames(),
            (std::vector<QString>{"MessageBox/question.png", "xml/skin.xml"}));
  struct Case {
    const char* name;
    std::optional<QByteArray> expected;
  };
  for (const Case& c : std::initializer_list<Case>{{"xml/skin.xml", layout},
                                                   {"xml\\skin.xml", layout},
                                                   {"\\xml\\skin.xml", layout},
                                                   {"MessageBox\\question.png", png},
                                                   {"xml/Skin.xml", std::nullopt},
                                                   {"xml/missing.xml", std::nullopt}}) {
    EXPECT_EQ(package->Read(QString::fromUtf8(c.name)), c.expected) << c.name;
  }
  const QImage image = package->Image("MessageBox\\question.png");
  ASSERT_FALSE(image.isNull());
  EXPECT_EQ(image.size(), QSize(4, 2));
  EXPECT_EQ(image.pixelColor(1, 1), QColor(Qt::red));
}

TEST(ZipSkinPackage, RefusesBytesThatAreNoArchive) {
  QString error;
  EXPECT_EQ(ZipSkinPackage::Open(QByteArray("PK\x03\x04 broken"), &error), nullptr);
  EXPECT_FALSE(error.isEmpty());
  EXPECT_EQ(ZipSkinPackage::Open(QByteArray()), nullptr);
}

TEST(ZipSkinPackage, AnEntryWithABadChecksumReadsAsMissing) {
  QByteArray archive = ZipOf({{"a.txt", QByteArray("hello, skin"), false}});
  const auto at = archive.indexOf("hello");
  ASSERT_GE(at, 0);
  archive[at] = 'j';
  auto package = ZipSkinPackage::Open(archive);
  ASSERT_NE(package, nullptr);
  EXPECT_EQ(package->Read("a.txt"), std::nullopt);
}

TEST(SkinPackage, PrefersTheDoubleSizeImageAtTwiceTheScale) {
  auto package = std::make_shared<MemorySkinPackage>();
  package->Add("icon.png", PngOf({8, 8}, Qt::blue));
  package->Add("icon@2x.png", PngOf({16, 16}, Qt::green));
  package->Add("plain.png", PngOf({8, 8}, Qt::blue));
  const QImage doubled = package->Image("icon.png", 2);
  EXPECT_EQ(doubled.size(), QSize(16, 16));
  EXPECT_EQ(doubled.devicePixelRatio(), 2);
  EXPECT_EQ(package->Image("icon.png", 1).size(), QSize(8, 8));
  // Without a double-size image the plain one serves both scales.
  EXPECT_EQ(package->Image("plain.png", 2).size(), QSize(8, 8));
  EXPECT_TRUE(package->Image("none.png").isNull());
  package->Add("broken.png", QByteArray("not an image"));
  EXPECT_TRUE(package->Image("broken.png").isNull());
}

// Everything the program names must be in the package compiled into it: every layout a window
// loads, and every image that code draws by name, at both scales.
TEST(BuiltInSkinPackage, HoldsEveryLayoutAndImageTheProgramNames) {
  const auto package = BuiltInSkinPackage();
  ASSERT_NE(package, nullptr);
  for (const char* layout : {"xml\\skin.xml",
                             "xml\\PageWelcome.xml",
                             "xml\\PageByteBackup.xml",
                             "xml\\PageExtractorISO.xml",
                             "xml\\PageCreaterISO.xml",
                             "xml\\PageReport.xml",
                             "xml\\CountFileProcessWnd.xml",
                             "xml\\BuildDiscProcessWnd.xml",
                             "xml\\BurnISOProcessWnd.xml",
                             "xml\\CreateImageProcessWnd.xml",
                             "xml\\ExtractISOProcessWnd.xml",
                             "xml\\LicenseWnd.xml",
                             "xml\\MessageBox_Information.xml",
                             "xml\\MessageBox_Warning.xml",
                             "xml\\MessageBox_Question.xml",
                             "xml\\MessageBox_Error.xml",
                             "xml\\MessageBox_Confirm.xml",
                             "xml\\Menu_Creater.xml",
                             "xml\\Menu_Extractor.xml",
                             "xml\\Menu_Help.xml"}) {
    EXPECT_TRUE(package->Read(layout).has_value()) << layout;
  }
  for (const char* image :
       {"drive.png", "drive_usb.png", "physical_drive.png", "removable_drive.png", "logo.png",
        "treeview_folder.png", "treeview_folder_open.png", "welcome_bg.png", "btn_license.png",
        "MessageBox/information.png", "MessageBox/warning.png", "MessageBox/question.png",
        "MessageBox/error.png", "MessageBox/confirmation.png"}) {
    for (int scale : {1, 2}) {
      const QImage decoded = package->Image(image, scale);
      EXPECT_FALSE(decoded.isNull()) << image << " at " << scale;
      EXPECT_EQ(decoded.devicePixelRatio(), scale) << image;
    }
  }
  // Sizes the program's image strings and layouts rely on.
  EXPECT_EQ(package->Image("logo.png").size(), QSize(379, 146));
  EXPECT_EQ(package->Image("welcome_bg.png").size(), QSize(576, 366));
  EXPECT_EQ(package->Image("btn_license.png").width(), 136);
  EXPECT_EQ(package->Image("treeview_folder.png").size(), QSize(36, 16));
}

// Every layout of the package builds: no unknown class, attribute or style, no broken include.
// The two controls the program supplies itself are stood in for by lists.
TEST(BuiltInSkinPackage, EveryLayoutBuilds) {
  const auto package = BuiltInSkinPackage();
  ASSERT_NE(package, nullptr);
  auto* zip = dynamic_cast<const ZipSkinPackage*>(package.get());
  ASSERT_NE(zip, nullptr);
  const ControlFactory standIns = [](const QString& name) -> ControlUI* {
    if (name == u"FileTree" || name == u"DiskList") return new ListUI();
    return nullptr;
  };
  int layouts = 0;
  for (const QString& name : zip->EntryNames()) {
    if (!name.startsWith("xml/") || !name.endsWith(".xml")) continue;
    QWidget host;
    WindowResources resources;
    WindowLayout layout;
    QString error;
    std::unique_ptr<ControlUI> root(
        BuildLayout(*package, name, &host, resources, layout, standIns, &error));
    // Files made to be included (pages, shared resources) are built by the windows that
    // include them.
    if (!root && (error.contains("exactly one control, not 0") ||
                  error.contains("the root element is not Window"))) {
      continue;
    }
    EXPECT_NE(root, nullptr) << error.toStdString();
    ++layouts;
  }
  EXPECT_GE(layouts, 15);
}

}  // namespace
}  // namespace forge::ui
