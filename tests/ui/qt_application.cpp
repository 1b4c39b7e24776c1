// Every test here needs a QApplication, and gtest_main makes none.

#include <gtest/gtest.h>
#include <memory>

#include <QApplication>

namespace {

class QtApplicationEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    // Run outside ctest too, without a display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    m_app = std::make_unique<QApplication>(s_argc, s_argv);
  }
  void TearDown() override { m_app.reset(); }

 private:
  // QApplication keeps references to these for its whole life.
  static inline char s_name[] = "ui_tests";
  static inline char* s_argv[] = {s_name, nullptr};
  static inline int s_argc = 1;
  std::unique_ptr<QApplication> m_app;
};

[[maybe_unused]] const ::testing::Environment* const kQtApplication =
    ::testing::AddGlobalTestEnvironment(new QtApplicationEnvironment);

}  // namespace
