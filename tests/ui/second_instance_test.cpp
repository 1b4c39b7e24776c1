// One rezedev7 per program folder: a second one on the same folder ends at once with exit
// code 1, says which process holds it and leaves the running one's Log.txt alone; another
// folder runs side by side.

#include "support/scripted_platform.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <string>

#include <QProcess>
#include <QProcessEnvironment>
#include <QStringList>
#include <QTest>

namespace d7o::ui {
namespace {

namespace fs = std::filesystem;

constexpr int kWaitMs = 20000;

// rezedev7 on the simulated modem in `folder`, offscreen.
void start(QProcess& program, const fs::path& folder) {
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
  program.setProcessEnvironment(env);
  program.start(QStringLiteral(D7O_REZEDEV7_PATH),
                {QStringLiteral("--simulate"), QStringLiteral("--home"),
                 QString::fromStdString(folder.string())});
}

// A folder with its TARVIK.INI, as after the first start.
bool prepare(const fs::path& folder) {
  QProcess create;
  create.start(QStringLiteral(D7O_REZEDEV7_PATH),
               {QStringLiteral("--create-ini"), QString::fromStdString(folder.string()),
                QStringLiteral("1")});
  return create.waitForFinished(kWaitMs) && create.exitCode() == 0;
}

TEST(SecondInstance, OnTheSameFolderEndsWithoutTouchingTheLog) {
  test::TempFolder home;
  test::TempFolder other;
  ASSERT_TRUE(prepare(home.path()));
  ASSERT_TRUE(prepare(other.path()));

  QProcess first;
  start(first, home.path());
  ASSERT_TRUE(first.waitForStarted(kWaitMs));
  // The first program has started its fresh log; what it logged since is in Log.txt.
  ASSERT_TRUE(QTest::qWaitFor([&] { return fs::exists(home.path() / "rezedev7.lock"); }, kWaitMs));
  QTest::qWait(500);
  const fs::path log = home.path() / "Log.txt";
  const std::string logged = "AT+CSQ   \r\n+CSQ: 17,99  \r\n OK  \r\n";
  {
    std::ofstream out(log, std::ios::binary | std::ios::app);
    out << logged;
  }

  QProcess second;
  start(second, home.path());
  ASSERT_TRUE(second.waitForFinished(kWaitMs)) << "the second one ends by itself";
  EXPECT_EQ(second.exitStatus(), QProcess::NormalExit);
  EXPECT_EQ(second.exitCode(), 1);
  const std::string said = second.readAllStandardError().toStdString();
  EXPECT_NE(said.find("process " + std::to_string(first.processId())), std::string::npos) << said;
  EXPECT_EQ(test::readFile(log), logged) << "the running program's log is intact";

  // Another folder works side by side.
  QProcess beside;
  start(beside, other.path());
  ASSERT_TRUE(beside.waitForStarted(kWaitMs));
  EXPECT_FALSE(beside.waitForFinished(3000)) << beside.readAllStandardError().toStdString();
  EXPECT_EQ(first.state(), QProcess::Running);
  for (QProcess* p : {&beside, &first}) {
    p->kill();
    p->waitForFinished(kWaitMs);
  }

  // The first one killed: its lock is left behind, and the next program takes it over.
  QProcess next;
  start(next, home.path());
  ASSERT_TRUE(next.waitForStarted(kWaitMs));
  EXPECT_FALSE(next.waitForFinished(3000)) << next.readAllStandardError().toStdString();
  next.kill();
  next.waitForFinished(kWaitMs);
}

}  // namespace
}  // namespace d7o::ui
