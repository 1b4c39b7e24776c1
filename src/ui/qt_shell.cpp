#include "ui/qt_shell.h"

#include "ui/code_page.h"

#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QUrl>

namespace d7o::ui {

namespace {

// A relative document name means one in the working folder (the program folder).
QString absolutePath(const std::string& path, const std::string& workingFolder) {
  const QString file = fromCodePage(path);
  if (QFileInfo(file).isAbsolute() || workingFolder.empty()) return file;
  return QDir(fromCodePage(workingFolder)).filePath(file);
}

}  // namespace

bool QtShell::openDocument(const std::string& path, const std::string& workingFolder) {
  if (path.empty()) return false;
  return QDesktopServices::openUrl(QUrl::fromLocalFile(absolutePath(path, workingFolder)));
}

bool QtShell::openUrl(const std::string& url) {
  // "www.tarvik.de" has no scheme; fromUserInput makes it a web address.
  const QUrl target = QUrl::fromUserInput(fromCodePage(url));
  if (!target.isValid()) return false;
  return QDesktopServices::openUrl(target);
}

bool QtShell::startProgram(const std::string& path) {
  if (path.empty()) return false;
  const QString program = fromCodePage(path);
  return QProcess::startDetached(program, {}, QFileInfo(program).absolutePath());
}

}  // namespace d7o::ui
