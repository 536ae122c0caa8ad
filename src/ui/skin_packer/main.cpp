// forge_skin_packer <Skins folder> <archive> [<image folder>]
//
// Builds the skin package: every file of the Skins folder (the layouts) and the painted images,
// each at 100 % ("name.png") and 200 % ("name@2x.png"), in one ZIP archive. With an image
// folder, the painted images are also written there for a look with any viewer.
#include <QBuffer>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QGuiApplication>
#include <cstdio>
#include <map>

#include "skin_art.h"
#include "zip_writer.h"

namespace {

int Fail(const QString& message) {
  std::fprintf(stderr, "forge_skin_packer: %s\n", message.toLocal8Bit().constData());
  return 1;
}

QByteArray PngBytes(const QImage& image) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  image.save(&buffer, "PNG");
  return bytes;
}

}  // namespace

int main(int argc, char** argv) {
  QGuiApplication application(argc, argv);
  const QStringList arguments = application.arguments();
  if (arguments.size() < 3) return Fail("usage: forge_skin_packer <Skins> <archive> [<images>]");
  const QDir skins(arguments[1]);
  const QString archive = arguments[2];
  const QString imageFolder = arguments.size() > 3 ? arguments[3] : QString();

  // name -> (bytes, deflate)
  std::map<QString, std::pair<QByteArray, bool>> entries;
  QDirIterator files(skins.path(), QDir::Files, QDirIterator::Subdirectories);
  while (files.hasNext()) {
    const QString path = files.next();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return Fail("cannot read " + path);
    entries[skins.relativeFilePath(path)] = {file.readAll(), !path.endsWith(".png")};
  }
  if (!imageFolder.isEmpty()) QDir().mkpath(imageFolder);
  for (const auto& art : forge::skin::AllSkinArt()) {
    for (int scale : {1, 2}) {
      QString name = art.name;
      if (scale == 2) name.insert(name.lastIndexOf('.'), "@2x");
      if (entries.count(name)) return Fail(name + " is both painted and in the Skins folder");
      const QImage image = forge::skin::Render(art, scale);
      entries[name] = {PngBytes(image), false};
      if (!imageFolder.isEmpty()) {
        const QString target = imageFolder + '/' + name;
        QDir().mkpath(QFileInfo(target).path());
        if (!image.save(target, "PNG")) return Fail("cannot write " + target);
      }
    }
  }

  // Written beside the target and renamed at the end, so a failed run leaves no archive that
  // looks finished.
  const QString partial = archive + ".part";
  QFile::remove(partial);
  QDir().mkpath(QFileInfo(archive).path());
  {
    forge::skin::ZipWriter zip(partial);
    if (!zip.Ok()) return Fail("cannot create " + partial);
    for (const auto& [name, entry] : entries) {
      if (!zip.Add(name, entry.first, entry.second)) return Fail("cannot add " + name);
    }
    if (!zip.Finish()) return Fail("cannot finish " + partial);
  }
  QFile::remove(archive);
  if (!QFile::rename(partial, archive)) return Fail("cannot rename " + partial);
  return 0;
}
